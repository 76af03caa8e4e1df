// The virtual card's state file: the input is the whole file. The card parses
// it, fills in its defaults and answers the library and the mixer from it
// (hexadecimal records, numbers, fault lists, mixer values), so that every
// reading of a value a user may have edited by hand is reached. The state is
// parsed from memory: the card's reading of the file from disk is the tests'
// business, and a file per input would cost more than all the parsing.
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "card.h"
#include "controls.h"
#include "device.h"
#include "fuzz_check.h"
#include "mixer.h"
#include "state_file.h"

namespace {

// `keepCount`: the capability record is asked for with the caller's flag for
// the driver's own count.
void ReadEveryControl(vcard::CVirtualCard& card, corra::OsHandle h, bool keepCount) {
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
        Count count = keepCount && get == GetCap ? 0x08000000u : 0u;
        if (get(card, h, buffer, &count)) FUZZ_CHECK(count <= 36);
    }
    SpeakerMode mode{};
    GetSpeakerMode(card, h, mode);
    std::uint32_t config = 0;
    GetCurrentSpeakerConfig(card, h, &config);
}

// Only the master line and the first source line of each destination are
// read: every line's values go through the same parsing, and reading all of
// them would be most of the run's cost.
void ReadMixerValues(vcard::CVirtualCard& card) {
    vcard::CVirtualMixer mixer(card);
    const std::uint32_t devices = mixer.DeviceCount();
    FUZZ_CHECK(devices <= 2);
    for (std::uint32_t device = 0; device < devices; ++device) {
        std::string name;
        FUZZ_CHECK(mixer.DeviceName(device, name));
        // The destinations are numbered from 0 without a gap.
        for (std::uint32_t destination = 0; destination < 3; ++destination) {
            vcard::MixerLine master;
            if (mixer.Line(device, destination, vcard::kAllSources, master) != vcard::kMixOk) break;
            vcard::MixerLine first;
            const bool hasFirst = mixer.Line(device, destination, 0, first) == vcard::kMixOk;
            for (const vcard::MixerLine* line : {&master, hasFirst ? &first : nullptr}) {
                if (line == nullptr) continue;
                for (const auto& control : line->controls) {
                    std::vector<std::uint32_t> values;
                    if (mixer.Read(device, control.id, line->channels, values) != vcard::kMixOk) continue;
                    const std::size_t items = control.items > 0 ? control.items : 1;
                    FUZZ_CHECK(values.size() == line->channels * items);
                    // Hand-edited values are held within the control's bounds.
                    for (const std::uint32_t v : values)
                        FUZZ_CHECK(v >= control.minimum && v <= control.maximum);
                }
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // Writing what was read and reading it again gives the same keys and values.
    auto state = vcard::CStateFile::FromText(text);
    FUZZ_CHECK(vcard::CStateFile::Parse(vcard::CStateFile::Format(state.Values())) == state.Values());

    for (const double gain : vcard::MixerOutputGains(state))
        FUZZ_CHECK(std::isfinite(gain) && gain >= 0.0 && gain <= 1.0);
    const double record = vcard::MixerRecordGain(state);
    FUZZ_CHECK(std::isfinite(record) && record >= 0.0 && record <= 1.0);

    // fault.throw makes the card throw on its first request (the tests' way to
    // see an exception inside the card); nothing else may throw.
    const bool throwAsked = state.GetInt("fault.throw", 0) != 0;

    vcard::CVirtualCard card(std::move(state));
    bool thrown = false;
    try {
        corra::OsHandle h = corra::kNoHandle;
        if (corra::device::Open(card, &h)) {
            ReadEveryControl(card, h, (size & 1) != 0);
            corra::device::Close(card, h);
        }
    } catch (const std::runtime_error&) {
        thrown = true;
    }
    FUZZ_CHECK(thrown == throwAsked);
    FUZZ_CHECK(card.OpenDriverHandles() == 0);
    FUZZ_CHECK(card.OpenLists() == 0);
    FUZZ_CHECK(card.BadCloses() == 0);

    ReadMixerValues(card);
    return 0;
}
