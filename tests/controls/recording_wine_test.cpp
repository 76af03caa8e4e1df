// Recording pages on the wave-in mixer, and the panel's other commands.
#include "panel_fixture.h"

#include "mixer_platform.h"

namespace {

// The card's wave-in mixer seen through a recording destination that has
// fewer source lines, one of which cannot be queried.
class CNarrowRecording final : public IMixerPlatform {
public:
    CNarrowRecording(IMixerPlatform& inner, DWORD sources, DWORD failing)
        : m_inner(inner), m_sources(sources), m_failing(failing) {}
    UINT GetNumDevs() override { return m_inner.GetNumDevs(); }
    MMRESULT GetDevCaps(UINT_PTR id, MIXERCAPSA* caps, UINT size) override { return m_inner.GetDevCaps(id, caps, size); }
    MMRESULT Open(HMIXER* m, UINT id, DWORD_PTR cb, DWORD_PTR inst, DWORD flags) override {
        return m_inner.Open(m, id, cb, inst, flags);
    }
    MMRESULT Close(HMIXER m) override { return m_inner.Close(m); }
    MMRESULT GetLineInfo(HMIXEROBJ object, MIXERLINEA* line, DWORD flags) override {
        if ((flags & MIXER_GETLINEINFOF_QUERYMASK) == MIXER_GETLINEINFOF_SOURCE &&
            (line->dwSource == m_failing || line->dwSource >= m_sources))
            return MIXERR_INVALLINE;
        const MMRESULT result = m_inner.GetLineInfo(object, line, flags);
        if (result == MMSYSERR_NOERROR && (flags & MIXER_GETLINEINFOF_QUERYMASK) == MIXER_GETLINEINFOF_DESTINATION)
            line->cConnections = m_sources;
        return result;
    }
    MMRESULT GetLineControls(HMIXEROBJ o, MIXERLINECONTROLSA* c, DWORD f) override { return m_inner.GetLineControls(o, c, f); }
    MMRESULT GetControlDetails(HMIXEROBJ o, MIXERCONTROLDETAILS* d, DWORD f) override {
        return m_inner.GetControlDetails(o, d, f);
    }
    MMRESULT SetControlDetails(HMIXEROBJ o, MIXERCONTROLDETAILS* d, DWORD f) override {
        return m_inner.SetControlDetails(o, d, f);
    }
    UINT WaveInGetNumDevs() override { return m_inner.WaveInGetNumDevs(); }

private:
    IMixerPlatform& m_inner;
    DWORD m_sources;
    DWORD m_failing;
};

const char kMux[] = "mixer.1.0.m.mux";

}  // namespace

TEST_F(PanelTest, RecordingSourceFollowsThePages) {
    OrvaneVcSet(kMux, "0 0 0 1 0 0");  // Line In
    Open();
    // Start-up shows the page the multiplexer selects.
    EXPECT_TRUE(Checked(1260) && !Checked(1258));
    EXPECT_TRUE(Visible(1209) && Visible(1027) && Visible(1239) && !Visible(1213) && !Visible(1178));

    Click(1258);
    EXPECT_EQ(Key(kMux), "0 0 0 0 1 0");
    EXPECT_TRUE(Visible(1213) && Visible(1215) && !Visible(1239) && !Visible(1209) && Visible(1240));
    Click(1259);
    EXPECT_EQ(Key(kMux), "0 0 0 0 0 1");
    Click(1261);
    EXPECT_EQ(Key(kMux), "0 1 0 0 0 0");
    EXPECT_TRUE(Visible(1184) && Visible(1206) && Visible(1029) && !Visible(1178));
    EXPECT_TRUE(boxes.empty());

    // One record mixer handle at a time, none left once the panel is gone.
    const std::int32_t withPanel = OrvaneVcMixerHandles();
    Click(1260);
    EXPECT_EQ(OrvaneVcMixerHandles(), withPanel);
    Close();
    EXPECT_EQ(OrvaneVcMixerHandles(), 0);
}

TEST_F(PanelTest, RecordingDestinationWithoutStereoMix) {
    OrvaneVcSet(kMux, "0 0 0 0 0 1");  // the multiplexer selects Stereo Mix
    CNarrowRecording narrow(CurrentMixerPlatform(), 5, 2);
    Open(&narrow);
    EXPECT_FALSE(Checked(1259));  // no line 5, no check
    EXPECT_EQ(startupBoxes, std::vector<std::wstring>{L"GetLinInfo Resource faile!"});  // line 2, once per opening

    boxes.clear();
    Click(1258);
    EXPECT_EQ(Key(kMux), "0 0 0 0 1 0");
    EXPECT_EQ(boxes.size(), 1u);
    Click(1259);  // its page shows, the source stays
    EXPECT_EQ(Key(kMux), "0 0 0 0 1 0");
    EXPECT_TRUE(Visible(1178) && !Visible(1213));
    dlg->UseRecordingMixer(CurrentMixerPlatform());
}

TEST_F(PanelTest, WithoutRecordingDevicePagesOnlySwitch) {
    // The mixer handles a panel holds with a recording device: one of them is
    // the record mixer's.
    Open();
    const std::int32_t withRecording = OrvaneVcMixerHandles();
    Close();
    OrvaneVcSet("recording.absent", "1");
    Open();
    for (int id : {1258, 1259, 1260, 1261}) EXPECT_FALSE(Checked(id)) << id;
    Click(1260);
    EXPECT_TRUE(Visible(1209) && !Visible(1178) && !Visible(1213));
    Click(1258);
    EXPECT_TRUE(Visible(1213) && !Visible(1209));
    EXPECT_EQ(OrvaneVcMixerHandles(), withRecording - 1);  // no record mixer held
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PanelTest, EnterMovesTheFocusAndNeverClosesThePanel) {
    Open();
    ::SetForegroundWindow(dlg->m_hWnd);
    ::SetFocus(Item(1146));
    ASSERT_EQ(::GetFocus(), Item(1146));
    MSG enter{Item(1146), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    EXPECT_TRUE(static_cast<CWnd&>(*dlg).PreTranslateMessage(&enter));
    EXPECT_EQ(::GetFocus(), dlg->m_hWnd);
    EXPECT_FALSE(dlg->HasEnded());
}

TEST_F(PanelTest, SurfaceDragsAndTitlesAreWhite) {
    Open();
    RECT client{};
    ::GetClientRect(dlg->m_hWnd, &client);
    POINT inside{5, client.bottom - 3};
    ::ClientToScreen(dlg->m_hWnd, &inside);
    EXPECT_EQ(::SendMessageW(dlg->m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCAPTION);
    RECT window{};
    ::GetWindowRect(dlg->m_hWnd, &window);
    EXPECT_NE(::SendMessageW(dlg->m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(window.right + 20, window.bottom + 20)),
              HTCAPTION);

    HDC dc = ::CreateCompatibleDC(nullptr);
    auto textColour = [&](int id) {
        ::SetTextColor(dc, RGB(1, 2, 3));
        ::SendMessageW(dlg->m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Item(id)));
        return ::GetTextColor(dc);
    };
    for (int id : {1254, 1255, 1262}) {
        ::SetTextColor(dc, RGB(1, 2, 3));
        const LRESULT brush = ::SendMessageW(dlg->m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(Item(id)));
        EXPECT_EQ(::GetTextColor(dc) == RGB(255, 255, 255), id != 1262) << id;
        // Over the skin's picture, as every static text of the panel.
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), dlg->m_nullBrush) << id;
        EXPECT_EQ(::GetBkMode(dc), TRANSPARENT) << id;
    }
    // Without the skin's picture the default colours apply, the titles stay white.
    dlg->m_background.CreateFromBitmap(dc, nullptr);
    ASSERT_FALSE(dlg->m_background.HasPixels());
    EXPECT_EQ(textColour(1254), RGB(255, 255, 255));
    EXPECT_EQ(textColour(1255), RGB(255, 255, 255));
    ::DeleteDC(dc);
}

namespace {

struct ModalSeen {
    HWND panel = nullptr;
    HWND dialog = nullptr;
    HWND owner = nullptr;
    bool panelEnabled = true;
};
ModalSeen g_modal;

// Runs inside the secondary panel's modal loop: notes who owns it, then
// cancels it as Escape would.
void CALLBACK CancelModal(HWND, UINT, UINT_PTR id, DWORD) {
    struct Finder {
        static BOOL CALLBACK Each(HWND w, LPARAM) {
            wchar_t cls[16] = {};
            ::GetClassNameW(w, cls, 16);
            if (w != g_modal.panel && ::IsWindowVisible(w) && ::lstrcmpW(cls, L"#32770") == 0) g_modal.dialog = w;
            return TRUE;
        }
    };
    ::EnumThreadWindows(::GetCurrentThreadId(), &Finder::Each, 0);
    if (!g_modal.dialog) return;
    ::KillTimer(nullptr, id);
    g_modal.owner = ::GetWindow(g_modal.dialog, GW_OWNER);
    g_modal.panelEnabled = ::IsWindowEnabled(g_modal.panel) != FALSE;
    ::PostMessageW(g_modal.dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

TEST_F(PanelTest, SecondaryPanelsOpenModallyOverThePanel) {
    OrvaneVcSet("audio3d", "00 00 00 05 01 00");  // 3D on: the effects button is enabled
    Open();
    // As in the program, the panel is the application's main window.
    CWinApp app;
    app.m_pMainWnd = dlg.get();
    for (int id : {1182, 1183}) {
        g_modal = {};
        g_modal.panel = dlg->m_hWnd;
        ::SetTimer(nullptr, 0, 50, &CancelModal);
        Click(id);  // returns when the secondary panel has ended
        ASSERT_TRUE(g_modal.dialog) << id;
        EXPECT_EQ(g_modal.owner, dlg->m_hWnd) << id;
        EXPECT_FALSE(g_modal.panelEnabled) << id;
        EXPECT_TRUE(::IsWindowEnabled(dlg->m_hWnd)) << id;
        EXPECT_FALSE(::IsWindow(g_modal.dialog)) << id;
    }
    app.m_pMainWnd = nullptr;
}
