#include "panel/app/master_volume.h"

#include "panel/app/volume_step.h"
#include "panel/mixer/mixer_base.h"

namespace {

constexpr DWORD kPlayback = 0;
constexpr DWORD kMasterLine = 0xFFFFFFFFu;

// One control of the master line with its values.
class CMasterControl : public CMixerBase {
public:
    bool Open(DWORD type, HWND notify) { return Init(kPlayback, kMasterLine, type, notify) == 1 && GetMXDetails(); }
    DWORD* Values() const { return ValueBuffer(); }
    bool Write() { return SetMXDetails() == 1; }
};

bool MutedNow(HWND notify) {
    CMasterControl mute;
    return mute.Open(MIXERCONTROL_CONTROLTYPE_MUTE, notify) && mute.Values()[0] != 0;
}

}  // namespace

std::optional<MasterLevel> CMasterVolume::Step(int steps, HWND notify) {
    CMasterControl volume;
    if (!volume.Open(MIXERCONTROL_CONTROLTYPE_VOLUME, notify)) return std::nullopt;
    auto* values = reinterpret_cast<std::uint32_t*>(volume.Values());
    const std::uint32_t channels = volume.ValueChannels();
    const MIXERCONTROLA& control = volume.Control();
    const std::uint32_t minimum = control.Bounds.dwMinimum;
    const std::uint32_t maximum = control.Bounds.dwMaximum;
    for (int i = 0; i < (steps < 0 ? -steps : steps); ++i)
        m_balance = panel::StepVolume(values, channels, minimum, maximum, steps, m_balance);
    if (!volume.Write()) return std::nullopt;
    return MasterLevel{panel::LevelPercent(values, channels, minimum, maximum), MutedNow(notify)};
}

std::optional<MasterLevel> CMasterVolume::ToggleMute(HWND notify) {
    CMasterControl mute;
    if (!mute.Open(MIXERCONTROL_CONTROLTYPE_MUTE, notify)) return std::nullopt;
    const bool muted = mute.Values()[0] == 0;
    for (DWORD i = 0; i < mute.ValueChannels(); ++i) mute.Values()[i] = muted ? 1 : 0;
    if (!mute.Write()) return std::nullopt;
    MasterLevel level{0, muted};
    CMasterControl volume;
    if (volume.Open(MIXERCONTROL_CONTROLTYPE_VOLUME, notify)) {
        const MIXERCONTROLA& control = volume.Control();
        level.percent = panel::LevelPercent(reinterpret_cast<const std::uint32_t*>(volume.Values()),
                                            volume.ValueChannels(), control.Bounds.dwMinimum, control.Bounds.dwMaximum);
    }
    return level;
}
