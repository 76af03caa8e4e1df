// The main panel created from its real template on the virtual card, driven
// as a user would: mouse presses on buttons, characters typed into edits,
// message boxes answered through the program's funnel.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CorrantApi.h"
#include "framework/app.h"
#include "panel/app/autostart.h"
#include "panel/app/main_panel_dlg.h"
#include "framework/program_paths.h"
#include "panel/skin/gradient_meter.h"
#include "mixer_platform.h"
#include "vcard_api.h"
#include "vcard_mixer_api.h"

// The tray menu's OPEN command.
inline constexpr WPARAM kTrayOpen = 32773;

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvaneVcReset();
        OrvaneVcSet("wave_play_ms", "0");
        OrvaneVcSet("playing", "0");
        ::DeleteFileA(fw::SettingsPath().c_str());
        fw::SetMessageBoxHook([this](const fw::MessageBoxCall& call) {
            boxes.push_back(call.text);
            return answer;
        });
    }

    void TearDown() override {
        Close();
        // Every connection any handler opened was closed again, on every path.
        EXPECT_EQ(OrvaneVcCounter("driver_handles"), 0);
        EXPECT_EQ(OrvaneVcMixerHandles(), 0);
        fw::SetMessageBoxHook({});
        ::DeleteFileA(fw::SettingsPath().c_str());
        // The panel's start wrote this program's Run value.
        panel::RemoveAutostart(fw::ProgramPath());
    }

    // Starts the panel on the card as the keys set so far describe it (its
    // recording selector on the given mixer, when one is given). The message
    // boxes start-up showed are kept in startupBoxes.
    void Open(IMixerPlatform* recordingMixer = nullptr) {
        dlg = std::make_unique<CMainPanelDlg>();
        if (recordingMixer) dlg->UseRecordingMixer(*recordingMixer);
        ASSERT_TRUE(dlg->Create(nullptr));
        Pump();
        // Shown as from the tray: a press lands on a button only where the
        // button can be seen.
        ::SendMessageW(dlg->m_hWnd, WM_COMMAND, kTrayOpen, 0);
        Pump();
        ASSERT_TRUE(::IsWindowVisible(dlg->m_hWnd));
        startupBoxes = boxes;
        boxes.clear();
    }

    void Close() {
        if (!dlg) return;
        if (dlg->m_hWnd) ::DestroyWindow(dlg->m_hWnd);
        dlg.reset();
    }

    static void Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    static void PumpFor(DWORD ms) {
        const DWORD end = ::GetTickCount() + ms;
        while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
            Pump();
            ::Sleep(10);
        }
    }

    HWND Item(int id) const { return ::GetDlgItem(dlg->m_hWnd, id); }
    // The fader and the meter the user sees under an ID.
    CMixerFader* Fader(int id) const { return dynamic_cast<CMixerFader*>(CWnd::FromHandle(Item(id))); }
    CGradientMeter* Meter(int id) const { return dynamic_cast<CGradientMeter*>(CWnd::FromHandle(Item(id))); }
    bool Visible(int id) const { return (::GetWindowLongPtrW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::wstring Text(int id) const {
        wchar_t text[64] = {};
        ::GetWindowTextW(Item(id), text, 64);
        return text;
    }

    // A press and release of the left button in the middle of the control;
    // a user cannot press what is hidden or disabled.
    void Click(int id) {
        HWND button = Item(id);
        ASSERT_TRUE(button) << id;
        ASSERT_TRUE(Visible(id) && Enabled(id)) << "cannot click " << id;
        RECT r{};
        ::GetClientRect(button, &r);
        const LPARAM centre = MAKELPARAM(r.right / 2, r.bottom / 2);
        ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        ::SendMessageW(button, WM_LBUTTONUP, 0, centre);
        Pump();
    }

    // Characters typed into an edit after selecting all of its text.
    void Type(int id, const wchar_t* text) {
        HWND edit = Item(id);
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        for (const wchar_t* c = text; *c; ++c) ::SendMessageW(edit, WM_CHAR, *c, 1);
        Pump();
    }

public:
    static std::string Key(const char* key) {
        char value[256] = {};
        return OrvaneVcGet(key, value, sizeof value) >= 0 ? value : "";
    }
    static std::vector<std::uint32_t> Numbers(const char* key) {
        std::istringstream in(Key(key));
        std::vector<std::uint32_t> values;
        for (std::uint32_t v; in >> v;) values.push_back(v);
        return values;
    }

    // What the card holds, read through the library as another program would.
    static std::vector<std::uint8_t> Read(int32_t (*get)(CORRA_HANDLE, void*, uint32_t*), std::size_t size) {
        std::vector<std::uint8_t> record(size, 0);
        CORRA_HANDLE h = CORRA_NO_HANDLE;
        if (!CorraApiOpen(&h)) return {};
        std::uint32_t count = 0;
        const bool ok = get(h, record.data(), &count) != 0;
        CorraApiClose(h);
        return ok ? record : std::vector<std::uint8_t>{};
    }
    static std::uint32_t SpeakerConfig() {
        CORRA_HANDLE h = CORRA_NO_HANDLE;
        std::uint32_t config = 0;
        if (CorraApiOpen(&h)) {
            GetCurrentSpeakerConfig(h, &config);
            CorraApiClose(h);
        }
        return config;
    }

protected:
    std::unique_ptr<CMainPanelDlg> dlg;
    std::vector<std::wstring> boxes;
    std::vector<std::wstring> startupBoxes;
    int answer = IDOK;
};
