// The virtual card's state file: the input is the whole file. The card reads
// it, fills in its defaults and answers the library and the mixer from it
// (hexadecimal records, numbers, fault lists, mixer values), so that every
// reading of a value a user may have edited by hand is reached.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "card.h"
#include "controls.h"
#include "device.h"
#include "fuzz_check.h"
#include "mixer.h"
#include "state_file.h"

namespace {

const std::filesystem::path& StatePath() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("orvane-fuzz-state-" + std::to_string(::getpid()) + ".ini");
    return path;
}

void ReadEveryControl(vcard::VirtualCard& card, corra::OsHandle h) {
    using namespace corra::controls;
    using Getter = bool (*)(Platform&, corra::OsHandle, void*, Count*);
    static constexpr Getter kGetters[] = {GetCap,      GetDynamicInfo, GetSR,          GetHISR,
                                          GetSPDIFOUT, GetSPDIFOUTDetail, GetSPDIFIN,  GetDMAStatus,
                                          GetGPIO,     GetExtGPIO,     GetSmart51,     GetExpander,
                                          GetDownMix,  GetAudio3D,     GetDisableEvent};
    for (const Getter get : kGetters) {
        // Room beyond every record, so that a size the driver reports wrongly
        // shows up as a count, not as an overrun of the caller's buffer.
        std::uint8_t buffer[64] = {};
        Count count = 0;
        if (get(card, h, buffer, &count)) FUZZ_CHECK(count <= 36);
        count = 0x80000000u;
        get(card, h, buffer, &count);
    }
    SpeakerMode mode{};
    GetSpeakerMode(card, h, mode);
    std::uint32_t config = 0;
    GetCurrentSpeakerConfig(card, h, &config);
}

// Every mixer query builds the card's whole topology, so only one source
// line and the master line of each destination are read: their values go
// through the same parsing as every other line's.
void ReadMixerValues(vcard::VirtualCard& card) {
    vcard::VirtualMixer mixer(card);
    const std::uint32_t devices = mixer.DeviceCount();
    FUZZ_CHECK(devices <= 2);
    for (std::uint32_t device = 0; device < devices; ++device) {
        std::string name;
        FUZZ_CHECK(mixer.DeviceName(device, name));
        for (std::uint32_t destination = 0; destination < 3; ++destination) {
            for (const std::uint32_t source : {vcard::kAllSources, 0u}) {
                vcard::MixerLine line;
                if (mixer.Line(device, destination, source, line) != vcard::kMixOk) continue;
                for (const auto& control : line.controls) {
                    std::vector<std::uint32_t> values;
                    if (mixer.Read(device, control.id, line.channels, values) != vcard::kMixOk) continue;
                    const std::size_t items = control.items > 0 ? control.items : 1;
                    FUZZ_CHECK(values.size() == line.channels * items);
                }
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // Writing what was read and reading it again gives the same keys and values.
    const auto values = vcard::StateFile::Parse(text);
    FUZZ_CHECK(vcard::StateFile::Parse(vcard::StateFile::Format(values)) == values);

    {
        std::ofstream out(StatePath(), std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    vcard::VirtualCard card(StatePath());
    corra::OsHandle h = corra::kNoHandle;
    if (corra::device::Open(card, &h)) {
        ReadEveryControl(card, h);
        corra::device::Close(card, h);
    }
    FUZZ_CHECK(card.OpenDriverHandles() == 0);
    FUZZ_CHECK(card.OpenLists() == 0);
    FUZZ_CHECK(card.BadCloses() == 0);
    FUZZ_CHECK(card.DynamicStatus().size() == 36);

    ReadMixerValues(card);
    vcard::StateFile state(StatePath());
    for (int channel = 0; channel < 8; ++channel) {
        const double gain = vcard::MixerOutputGain(state, channel);
        FUZZ_CHECK(std::isfinite(gain) && gain >= 0.0);
    }
    const double record = vcard::MixerRecordGain(state);
    FUZZ_CHECK(std::isfinite(record) && record >= 0.0);
    return 0;
}
