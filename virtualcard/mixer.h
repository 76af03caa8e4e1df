// The virtual card's mixer devices: "Orvane Audio (WDM)" with its playback,
// output-channel and recording destinations, and the mixer of wave-in
// device 0 with its recording multiplexer. Values live in the card's state
// file; every write notifies each handle opened with a callback window.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vcard {

class CVirtualCard;
class CStateFile;

// The platform's control-type constants this mixer uses.
inline constexpr std::uint32_t kTypeVolume = 0x50030001;
inline constexpr std::uint32_t kTypeMute = 0x20010002;
inline constexpr std::uint32_t kTypeOnOff = 0x20010001;
inline constexpr std::uint32_t kTypeMux = 0x70010001;
inline constexpr std::uint32_t kControlUniform = 0x1;   // MIXERCONTROL_CONTROLF_UNIFORM
inline constexpr std::uint32_t kControlMultiple = 0x2;  // MIXERCONTROL_CONTROLF_MULTIPLE
inline constexpr std::uint32_t kAllSources = 0xFFFFFFFF;

inline constexpr char kCardMixerName[] = "Orvane Audio (WDM)";
inline constexpr char kWaveInMixerName[] = "Orvane Audio Wave In";
inline constexpr std::uint32_t kCardMixer = 0;
inline constexpr std::uint32_t kWaveInMixer = 1;

// Results, numbered as winmm numbers them.
enum MixerResult : std::uint32_t {
    kMixOk = 0,
    kMixError = 1,          // MMSYSERR_ERROR
    kMixBadDevice = 2,      // MMSYSERR_BADDEVICEID
    kMixBadHandle = 5,      // MMSYSERR_INVALHANDLE
    kMixBadParam = 11,      // MMSYSERR_INVALPARAM
    kMixBadLine = 1024,     // MIXERR_INVALLINE
    kMixBadControl = 1025,  // MIXERR_INVALCONTROL
};

struct MixerControl {
    std::uint32_t id = 0;
    std::uint32_t type = 0;
    std::uint32_t flags = 0;
    std::uint32_t items = 0;  // multiple-item count (0 for single-item controls)
    std::uint32_t minimum = 0, maximum = 0, steps = 0;
    std::string shortName, name;
    std::string key;     // state-file key of its values
    bool hidden = false;  // reachable by ID only, not by a type query
    std::uint32_t channels = 1;
};

struct MixerLine {
    std::uint32_t destination = 0;
    std::uint32_t source = kAllSources;  // kAllSources for a destination line
    std::uint32_t id = 0;
    std::uint32_t componentType = 0;
    std::uint32_t channels = 2;
    std::uint32_t connections = 0;  // source lines of a destination
    std::string shortName, name;
    std::vector<MixerControl> controls;
};

class CVirtualMixer {
public:
    // (callback window, mixer handle, control ID): a change to post.
    using Notify = std::function<void(std::uintptr_t, std::uintptr_t, std::uint32_t)>;

    explicit CVirtualMixer(CVirtualCard& card);
    void SetNotify(Notify notify);

    std::uint32_t DeviceCount();
    std::uint32_t WaveInDeviceCount();
    // The product name; false for an unknown device.
    bool DeviceName(std::uint32_t device, std::string& name);

    // A new handle on the device (0 on failure); `window` 0 for no callback.
    std::uintptr_t Open(std::uint32_t device, std::uintptr_t window);
    MixerResult Close(std::uintptr_t handle);
    // The device a handle is open on, or, when `orIndex`, the device of that
    // index; false when neither.
    bool Resolve(std::uintptr_t handleOrIndex, bool orIndex, std::uint32_t& device);

    // Lines and controls as the device reports them now (faults applied).
    MixerResult Line(std::uint32_t device, std::uint32_t destination, std::uint32_t source,
                     MixerLine& line);
    MixerResult LineById(std::uint32_t device, std::uint32_t lineId, MixerLine& line);
    MixerResult ControlByType(std::uint32_t device, std::uint32_t lineId, std::uint32_t type,
                              MixerControl& control);

    // Values of a control: channels × max(items, 1) numbers. A write of fewer
    // channels than the control has sets every channel (a uniform write).
    MixerResult Read(std::uint32_t device, std::uint32_t controlId, std::uint32_t channels,
                     std::vector<std::uint32_t>& values);
    MixerResult Write(std::uint32_t device, std::uint32_t controlId, std::uint32_t channels,
                      const std::vector<std::uint32_t>& values);

    int OpenHandles();

private:
    struct Handle {
        std::uint32_t device;
        std::uintptr_t window;
    };
    using Lines = std::shared_ptr<const std::vector<MixerLine>>;
    // The state-file settings that shape a device's lines.
    struct Shape {
        bool recordMux = false;
        std::string noControls, unknownUnits, uniformVolume;  // "destination.source"
        bool operator==(const Shape&) const = default;
    };
    // The device's lines; built again only when its shape changed (one
    // build serves every mixer of the process).
    Lines Topology(std::uint32_t device);
    static Lines Build(std::uint32_t device, const Shape& shape);
    const MixerControl* FindControl(const std::vector<MixerLine>& lines, std::uint32_t id) const;
    bool Fault(std::string_view key);

    CVirtualCard& m_card;
    std::mutex m_lock;
    std::map<std::uintptr_t, Handle> m_handles;
    std::uintptr_t m_nextHandle = 0x7000;
    Notify m_notify;
};

// How loud each output channel 0-7 plays through the mixer's volumes and
// mutes (0 silent .. 1 full), and the recording path likewise.
std::array<double, 8> MixerOutputGains(const CStateFile& state);
double MixerRecordGain(const CStateFile& state);

}  // namespace vcard
