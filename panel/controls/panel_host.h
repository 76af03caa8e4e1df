// What a controller of the main panel knows of the panel: its window, the
// binding of a template control to a member, the language, the program's
// message box, whether anything is playing, the speaker test's sound and the
// panel's settings. The panel (panel/app) implements it; the controllers own
// their controls and their state, and reach the panel only through this.
#pragma once

#include <windows.h>

#include <optional>

class CWnd;

class IPanelHost {
public:
    virtual HWND Window() const = 0;
    // Attaches a member control to the template's control with this ID.
    virtual void BindControl(UINT id, CWnd& control) = 0;
    // Texts in Chinese (the language button checked) or English.
    virtual bool Chinese() const = 0;
    // A message box of the program (the panel's owner rules apply).
    virtual int MessageBox(const wchar_t* text, UINT type) = 0;
    // The last refresh saw output levels: something is playing.
    virtual bool Playing() const = 0;
    // The speaker test's sound file.
    virtual const char* TestSoundPath() const = 0;
    // A key of the panel's settings; empty when absent or malformed.
    virtual std::optional<int> ReadSetting(const char* key) const = 0;
    virtual void WriteSetting(const char* key, int value) = 0;

protected:
    ~IPanelHost() = default;
};
