#include "panel/app/main_panel_dlg.h"

#include <commctrl.h>

#include <cstring>

#include "framework/app.h"
#include "framework/program_paths.h"
#include "live_counts.h"
#include "mixer_platform.h"
#include "panel/app/autostart.h"
#include "panel/app/live_counts_hook.h"
#include "panel/app/settings.h"
#include "panel/mixer/mixer_base.h"
#include "panel/res/resource_ids.h"
#include "panel/res/skin_table.h"

namespace {

constexpr wchar_t kPanelTitle[] = L"Quelmar-TavikDigital(v6.1)";
constexpr wchar_t kNoCard[] = L"未发现Tavik声卡";
constexpr wchar_t kAutostartQuestion[] = L"是否下次启动时自动运行？";
constexpr COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

CMainPanelDlg::CMainPanelDlg()
    : CSkinDialog(IDD_MAIN_PANEL, nullptr),
      m_refresh(*this),
      m_strips(*this),
      m_rateSpdif(*this),
      m_speakers(*this, m_strips),
      m_recording(*this) {
    m_hIcon = ::LoadIconW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDI_APP));
}

CMainPanelDlg::~CMainPanelDlg() { m_fontTitle.Reset(); }

bool CMainPanelDlg::Chinese() const { return m_btnLanguage.m_hWnd && m_btnLanguage.GetCheck() == BST_CHECKED; }

int CMainPanelDlg::MessageBox(const wchar_t* text, UINT type) { return fw::AppMessageBox(text, type); }

std::optional<int> CMainPanelDlg::ReadSetting(const char* key) const { return panel::ReadSetting(key); }

void CMainPanelDlg::WriteSetting(const char* key, int value) { panel::WriteSetting(key, value); }

void CMainPanelDlg::DoDataExchange() {
    m_strips.BindControls();
    m_refresh.BindControls();
    m_rateSpdif.BindControls();
    m_recording.BindControls();
    m_speakers.BindControls();
    DDX_Control(IDC_EFFECTS_PANEL, m_btnEffectsPanel);
    DDX_Control(IDC_ABOUT_PANEL, m_btnAboutPanel);
    DDX_Control(IDC_LANGUAGE, m_btnLanguage);
    DDX_Control(IDC_TITLE, m_textTitle);
    DDX_Control(IDC_HIDE, m_btnHide);
}

bool CMainPanelDlg::CardPresent() const {
    IMixerPlatform& mixer = CurrentMixerPlatform();
    const UINT devices = mixer.GetNumDevs();
    for (UINT i = 0; i < devices; ++i) {
        MIXERCAPSA caps{};
        if (mixer.GetDevCaps(i, &caps, sizeof caps) != MMSYSERR_NOERROR) return false;
        if (std::strcmp(caps.szPname, kCardMixerName) == 0) return true;
    }
    return false;
}

BOOL CMainPanelDlg::OnInitDialog() {
    CSkinDialog::OnInitDialog();
    CDC screen = CDC::ForWindow(m_hWnd);

    if (!CardPresent()) {
        MessageBox(kNoCard, MB_OK);
        ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return FALSE;
    }

    EnableToolTips(true);
    if (m_toolTip.Create(m_hWnd, 0)) {
        m_toolTip.Activate(true);
        m_toolTip.AddTool(m_hWnd, LPSTR_TEXTCALLBACKW, nullptr, 0);
    }
    m_toolTipAlways.Create(m_hWnd, TTS_ALWAYSTIP);

    m_largeSkin = SkinSetForDpi(::GetDeviceCaps(screen, LOGPIXELSX)) == SkinSet::Large;
    SetBackground(m_largeSkin ? IDB_MAIN_LARGE : IDB_MAIN_SMALL, kStretch);

    m_refresh.Start();
    m_testSoundPath = fw::ProgramDirectory() + "\\ST.WAV";

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_textTitle.SetWindowText(kPanelTitle);
    SetWindowText(kPanelTitle);
    // Made once and kept: the texts look as they would with fonts made anew
    // on every paint, and a paint costs no font.
    m_refresh.CreateFont();
    m_fontTitle.Attach(::CreateFontW(18, 10, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0, L"隶书"));
    m_textTitle.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontTitle.Get()), TRUE);

    panel::WriteAutostart(fw::ProgramPath());

    ReadSettings();
    ApplySkins(true);
    m_refresh.SetMeterColours();

    m_tray.Add(m_hWnd, m_hIcon);
    ShowWindow(SW_HIDE);

    m_recording.ReadRecordSource();
    m_rateSpdif.ReadRate();
    m_btnEffectsPanel.EnableWindow(m_speakers.ReadAudio3D());
    m_refresh.SetMeterRanges();

    const int channels = controls::ReadChannelCount();
    m_strips.BindSwitchesAndSingleFaders(channels);
    m_strips.FillEdits(channels);

    ApplySkins(false);
    m_strips.SetUpFaderSkins();
    m_speakers.ReadSpeakerLayout();

    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    m_started = true;
    // The panel starts hidden in the tray: no control gets the focus, and
    // nothing of it is activated (OnWindowPosChanging).
    return FALSE;
}

void CMainPanelDlg::ReadSettings() {
    // An absent or malformed key reads as 0 (the default of every key).
    m_btnLanguage.SetCheck(panel::ReadSetting(panel::kKeyLanguage).value_or(0));
    m_rateSpdif.ReadSpdifState();
    m_speakers.ReadSettings();
    m_strips.ReadLinks(controls::ReadChannelCount());
}

void CMainPanelDlg::WriteSettings() {
    if (m_settingsWritten) return;
    m_settingsWritten = true;
    panel::WriteSetting(panel::kKeyLanguage, m_btnLanguage.m_hWnd && m_btnLanguage.GetCheck() == BST_CHECKED ? 1 : 0);
    m_rateSpdif.WriteSettings();
    m_speakers.WriteSettings();
    m_strips.WriteLinks();
}

void CMainPanelDlg::ApplySkins(bool early) {
    // The rate, speaker-test, S/PDIF and speaker buttons are skinned with the
    // settings read; the switches, links and the panel's own buttons after
    // the bindings.
    for (const SkinPairing& pairing : MainPanelSkins(m_largeSkin ? SkinSet::Large : SkinSet::Small)) {
        const int id = static_cast<int>(pairing.control);
        auto* button = dynamic_cast<CSkinButton*>(CWnd::FromHandle(::GetDlgItem(m_hWnd, id)));
        const bool skinnedEarly = m_rateSpdif.SkinnedEarly(id) || m_speakers.SkinnedEarly(id);
        if (!button || skinnedEarly != early) continue;
        button->SetSkin(pairing.normal, pairing.down, pairing.over, pairing.disabled, pairing.focus, pairing.mask,
                        0, 0, 0);
    }
}

void CMainPanelDlg::ShowPanel() {
    m_userShown = true;
    ShowWindow(SW_SHOWNORMAL);
    ::BringWindowToTop(m_hWnd);
    m_visible = true;
}

void CMainPanelDlg::HidePanel() {
    ShowWindow(SW_HIDE);
    m_visible = false;
}

LRESULT CMainPanelDlg::OnTimer(WPARAM id, LPARAM) {
    if (id == CPanelRefresh::kTimerId) {
        m_refresh.Tick();
    } else if (id == CPanelTray::kRetryTimerId) {
        m_tray.OnRetryTimer();
    } else {
        SetMsgHandled(false);
    }
    return 0;
}

LRESULT CMainPanelDlg::OnPaint(WPARAM, LPARAM) {
    if (::IsIconic(m_hWnd)) {
        CPaintDC dc(m_hWnd);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(dc, x, y, m_hIcon);
    } else {
        Default();
    }
    return 0;
}

LRESULT CMainPanelDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

LRESULT CMainPanelDlg::OnWindowPosChanging(WPARAM, LPARAM lParam) {
    // Keeps the panel hidden, and inactive, when the modal loop shows it
    // after start-up, until the user opens it from the tray.
    if (!m_userShown) {
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        position->flags &= ~SWP_SHOWWINDOW;
        position->flags |= SWP_NOACTIVATE;
    }
    return Default();
}

LRESULT CMainPanelDlg::OnEndSession(WPARAM ending, LPARAM) {
    // Windows ends the process after this without a WM_DESTROY.
    if (ending && m_started) {
        WriteSettings();
        m_tray.Remove();
    }
    return 0;
}

LRESULT CMainPanelDlg::OnTaskbarCreated(WPARAM, LPARAM) {
    if (m_started) m_tray.OnTaskbarCreated();
    return 0;
}

LRESULT CMainPanelDlg::OnLiveCounts(WPARAM which, LPARAM) {
    if (!panel::AnswersLiveCounts()) {
        SetMsgHandled(false);
        return 0;
    }
    return panel::LiveCount(which);
}

LRESULT CMainPanelDlg::OnDestroy(WPARAM, LPARAM) {
    m_refresh.Stop();
    // Start-up abandoned for a missing card loaded nothing: the stored
    // settings stay as they are.
    if (m_started) WriteSettings();
    m_tray.Remove();
    SetMsgHandled(false);
    return 0;
}

void CMainPanelDlg::OnTrayCallback(LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONDOWN) {
        m_userShown = true;
        OnOpen();
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        m_tray.ShowMenu();
    }
}

// The tray's OPEN and the hide button both toggle the panel.
void CMainPanelDlg::OnOpen() {
    if (m_visible)
        HidePanel();
    else
        ShowPanel();
}

void CMainPanelDlg::OnExit() {
    const std::string program = fw::ProgramPath();
    if (MessageBox(kAutostartQuestion, MB_YESNO) == IDNO) panel::RemoveAutostart(program);
    m_tray.Remove();
    ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CMainPanelDlg::OnEffectsPanel() {
    m_effectsPanel.SetChinese(Chinese());
    m_effectsPanel.SetSettingsFile(fw::SettingsPath());
    m_effectsPanel.DoModal();
}

void CMainPanelDlg::OnAboutPanel() { m_aboutPanel.DoModal(); }

// The rate text and the title are white: set after the skin's own colour
// handling, which without its picture falls back to the default one and that
// sets the system's text colour.
HBRUSH CMainPanelDlg::OnWhiteText(HDC dc, HWND control, UINT type) {
    const int id = ::GetDlgCtrlID(control);
    if (type != CTLCOLOR_STATIC || (id != IDC_RATE_TEXT && id != IDC_TITLE)) {
        SetMsgHandled(false);
        return nullptr;
    }
    const HBRUSH brush = CSkinDialog::OnCtlColor(dc, control, type);
    ::SetTextColor(dc, kWhite);
    return brush;
}

// The whole surface drags the window, as a caption would.
LRESULT CMainPanelDlg::OnNcHitTest(WPARAM, LPARAM lParam) {
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (::PtInRect(&client, point)) return HTCAPTION;
    SetMsgHandled(false);
    return 0;
}

// The dialog manager would hand the focus straight back to the control that
// had it; while Enter moves it to the panel, the panel keeps it.
LRESULT CMainPanelDlg::OnSetFocus(WPARAM, LPARAM) {
    if (!m_focusingPanel) SetMsgHandled(false);
    return 0;
}

// The tray icon's callback message is no message of the panel's tables: the
// framework's dialog procedure hands it to the default processing, and the
// panel takes it there.
LRESULT CMainPanelDlg::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == CPanelTray::kCallbackMessage) OnTrayCallback(lParam);
    return CSkinDialog::DefWindowProc(msg, wParam, lParam);
}

BOOL CMainPanelDlg::PreTranslateMessage(MSG* msg) {
    // A hidden panel takes no keyboard input: keys that reach it (it may have
    // been the foreground window) are dropped, not handed to its controls or
    // to the dialog keys, where Escape would end the program.
    const bool keyboard = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    if (keyboard && !::IsWindowVisible(m_hWnd) && (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd)))
        return TRUE;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        // Enter is no dialog key here: it would end the panel's modal loop,
        // and with it the program.
        m_focusingPanel = true;
        ::SetFocus(m_hWnd);
        m_focusingPanel = false;
        return TRUE;
    }
    if (msg->message == WM_MOUSEMOVE && m_toolTipAlways.m_hWnd) m_toolTipAlways.RelayEvent(msg);
    return CSkinDialog::PreTranslateMessage(msg);
}

bool CMainPanelDlg::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CMainPanelDlg> table[] = {
        fw::OnMessage<&CMainPanelDlg::OnDestroy>(WM_DESTROY),
        fw::OnMessage<&CMainPanelDlg::OnTimer>(WM_TIMER),
        fw::OnMessage<&CMainPanelDlg::OnPaint>(WM_PAINT),
        fw::OnMessage<&CMainPanelDlg::OnQueryDragIcon>(WM_QUERYDRAGICON),
        fw::OnMessage<&CMainPanelDlg::OnWindowPosChanging>(WM_WINDOWPOSCHANGING),
        fw::OnMessage<&CMainPanelDlg::OnEndSession>(WM_ENDSESSION),
        fw::OnRegisteredMessage<&CMainPanelDlg::OnTaskbarCreated>(fw::kTaskbarCreated),
        fw::OnRegisteredMessage<&CMainPanelDlg::OnLiveCounts>(live::kLiveCountsMessage),
        fw::OnCommand<&CMainPanelDlg::OnOpen>(ID_TRAY_OPEN, 0),
        fw::OnCommand<&CMainPanelDlg::OnExit>(ID_TRAY_EXIT, 0),
        fw::OnCommand<&CMainPanelDlg::OnOpen>(IDC_HIDE, BN_CLICKED),
        fw::OnCommand<&CMainPanelDlg::OnEffectsPanel>(IDC_EFFECTS_PANEL),
        fw::OnCommand<&CMainPanelDlg::OnAboutPanel>(IDC_ABOUT_PANEL),
    };
    // After the controllers: the panel's surface (white texts, dragging, the
    // focus kept while Enter moves it) and the master fader's released capture.
    static constexpr fw::MsgEntry<CMainPanelDlg> surface[] = {
        fw::OnCtlColor<&CMainPanelDlg::OnWhiteText>(),
        fw::OnMessage<&CMainPanelDlg::OnNcHitTest>(WM_NCHITTEST),
        fw::OnMessage<&CMainPanelDlg::OnSetFocus>(WM_SETFOCUS),
        fw::OnNotify<&CMainPanelDlg::OnMasterReleasedCapture>(IDC_FADER_MASTER_L, NM_RELEASEDCAPTURE),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) ||
           m_strips.HandleMessage(msg, wParam, lParam, result) ||
           m_rateSpdif.HandleMessage(msg, wParam, lParam, result) ||
           m_speakers.HandleMessage(msg, wParam, lParam, result) ||
           m_recording.HandleMessage(msg, wParam, lParam, result) ||
           fw::Dispatch(*this, surface, msg, wParam, lParam, result) ||
           CSkinDialog::OnWndMsg(msg, wParam, lParam, result);
}
