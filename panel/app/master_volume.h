// The master line of the card's mixer (the playback destination's own line),
// moved a step and muted from anywhere: by the hotkeys and the wheel on the
// tray icon. Each action opens the mixer, reads the line, writes it and
// closes again, as the panel's talks with the card do; the faders and the
// mute button follow through the mixer's change notifications.
#pragma once

#include <windows.h>

#include <optional>

struct MasterLevel {
    int percent = 0;     // the louder channel, in percent of the line's range
    bool muted = false;  // unknown mute reads as not muted
};

class CMasterVolume {
public:
    CMasterVolume() = default;
    CMasterVolume(const CMasterVolume&) = delete;
    CMasterVolume& operator=(const CMasterVolume&) = delete;

    // `steps` steps up (positive) or down, both channels, keeping their
    // balance; the level after it, or nothing when the line cannot be read
    // or written. `notify` receives the mixer's change notifications of the
    // handle (the panel; it leaves them to the default processing).
    std::optional<MasterLevel> Step(int steps, HWND notify);
    // The master mute switched over; the level after it, or nothing.
    std::optional<MasterLevel> ToggleMute(HWND notify);

private:
    // The balance the line had when it was last heard: a silent line has none
    // to read, and a step up from silence takes this one.
    float m_balance = 0.0f;
};
