#include "panel/app/main_panel_dlg.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "CorrantApi.h"
#include "framework/app.h"
#include "panel/app/autostart.h"
#include "panel/app/panel_tables.h"
#include "panel/app/program_paths.h"
#include "panel/app/refresh_math.h"
#include "panel/app/settings.h"
#include "panel/app/system_actions.h"
#include "panel/mixer/mixer_base.h"
#include "mixer_platform.h"
#include "panel/res/resource_ids.h"
#include "panel/res/skin_table.h"
#include "live_counts.h"
#include "vcard_loader.h"

namespace {

constexpr wchar_t kPanelTitle[] = L"Quelmar-TavikDigital(v6.1)";
constexpr char kTrayTip[] = "Pelkor Orvane Sound";
constexpr wchar_t kNoCard[] = L"未发现Tavik声卡";
constexpr wchar_t kAutostartQuestion[] = L"是否下次启动时自动运行？";

constexpr UINT kRefreshPeriod = 100;
// While the card does not answer, the refresh asks again once a second.
constexpr UINT kRetryPeriod = 1000;
// A shell that refused the icon (not ready yet at logon) is asked again every
// two seconds for two minutes.
constexpr UINT kTrayRetryPeriod = 2000;
constexpr int kTrayRetries = 60;

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<LRESULT*>(count);
    return TRUE;
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<LRESULT*>(count);
    ::EnumChildWindows(window, CountChild, count);
    return TRUE;
}

// One of the live counts of seams/live_counts.h; -1 past the last, or when
// the virtual card cannot tell.
LRESULT LiveCount(WPARAM which) {
    switch (which) {
        case live::kGdiObjects: return fw::LiveGdiObjects();
        case live::kDeviceContexts: return fw::LiveDeviceContexts();
        case live::kUserObjects: return fw::LiveUserObjects();
        case live::kKernelHandles: return fw::LiveKernelHandles();
        case live::kWindows: {
            LRESULT count = 0;
            ::EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
            return count;
        }
        default: break;
    }
    if (which >= live::kCountOfCounts) return -1;
    const HMODULE card = vcard::LoadedVirtualCard();
    if (card == nullptr) return -1;
    if (which == live::kMixerHandles) {
        using Handles = int32_t (*)();
        const auto handles =
            reinterpret_cast<Handles>(reinterpret_cast<void*>(::GetProcAddress(card, "OrvaneVcMixerHandles")));
        return handles != nullptr ? handles() : -1;
    }
    using Counter = int64_t (*)(const char*);
    const auto counter = reinterpret_cast<Counter>(reinterpret_cast<void*>(::GetProcAddress(card, "OrvaneVcCounter")));
    return counter != nullptr ? static_cast<LRESULT>(counter(live::kCardCounters[which])) : -1;
}

constexpr COLORREF kMeterStart = 0x9B00FF;
constexpr COLORREF kMeterEnd = 0x9B0000;

// The meters in the order the refresh sets them after the two master meters.
constexpr CGradientMeter CMainPanelDlg::*kMeters[] = {
    &CMainPanelDlg::m_meterMasterL, &CMainPanelDlg::m_meterMasterR, &CMainPanelDlg::m_meterFrontL,
    &CMainPanelDlg::m_meterFrontR,  &CMainPanelDlg::m_meterCenter,  &CMainPanelDlg::m_meterLfe,
    &CMainPanelDlg::m_meterSurroundL, &CMainPanelDlg::m_meterSurroundR, &CMainPanelDlg::m_meterBackL,
    &CMainPanelDlg::m_meterBackR,   &CMainPanelDlg::m_meterRecR,    &CMainPanelDlg::m_meterRecL,
};

int ChannelsFromCapability(std::uint16_t features) {
    if (features & CORRA_CAP_8CH) return 8;
    if (features & CORRA_CAP_6CH) return 6;
    if (features & CORRA_CAP_4CH) return 4;
    if (features & CORRA_CAP_2CH) return 2;
    return 0;
}

}  // namespace

namespace panel {

int EditValueOf(const CMixerFader& fader) {
    const std::uint32_t units = fader.Scale().unitsPerStep;
    return units ? static_cast<int>(fader.GetSliderValue() / units) : 0;
}

}  // namespace panel

CMainPanelDlg::CMainPanelDlg()
    : CSkinDialog(IDD_MAIN_PANEL, nullptr), m_strips(*this), m_rateSpdif(*this), m_speakers(*this),
      m_recording(*this) {
    m_hIcon = ::LoadIconW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDI_APP));
}

CMainPanelDlg::~CMainPanelDlg() {
    // The faders draw with the shared strips: they go first.
    for (auto& strip : m_faderStrips) strip.reset();
    m_fontRate.Reset();
    m_fontTitle.Reset();
}

bool CMainPanelDlg::Chinese() const { return m_btnLanguage.m_hWnd && m_btnLanguage.GetCheck() == BST_CHECKED; }

int CMainPanelDlg::ChannelCount() {
    CCardConnection card;
    if (!card) return 0;
    std::uint8_t capability[24] = {};
    std::uint32_t count = sizeof capability;
    if (!CorraGetCap(card.Get(), capability, &count)) return 0;
    return ChannelsFromCapability(static_cast<std::uint16_t>(capability[6] | capability[7] << 8));
}

int CMainPanelDlg::MessageBox(const wchar_t* text, UINT type) { return fw::AppMessageBox(text, type); }

void CMainPanelDlg::DoDataExchange() {
    for (const auto& row : panel::kFaderEdits) {
        DDX_Control(row.faderId, this->*row.fader);
        DDX_Control(row.editId, this->*row.edit);
    }
    for (const auto& row : panel::kMixerSwitches) DDX_Control(row.switchId, this->*row.button);
    for (const auto& pair : panel::kLinkPairs) DDX_Control(pair.linkButtonId, this->*pair.linkButton);
    DDX_Control(1169, m_meterMasterL);
    DDX_Control(1214, m_meterMasterR);
    DDX_Control(1240, m_meterRecL);
    DDX_Control(1239, m_meterRecR);
    DDX_Control(1237, m_meterFrontL);
    DDX_Control(1238, m_meterFrontR);
    DDX_Control(1241, m_meterSurroundL);
    DDX_Control(1242, m_meterSurroundR);
    DDX_Control(1243, m_meterCenter);
    DDX_Control(1244, m_meterLfe);
    DDX_Control(1245, m_meterBackL);
    DDX_Control(1246, m_meterBackR);
    DDX_Control(1203, m_btnSpdifOut);
    DDX_Control(1258, m_selRecMic);
    DDX_Control(1259, m_selRecStereoMix);
    DDX_Control(1260, m_selRecLineIn);
    DDX_Control(1261, m_selRecVideo);
    constexpr UINT rateIds[] = {1201, 1264, 1265, 1266, 1267, 1268, 1269, 1271};
    for (int i = 0; i < 8; ++i) DDX_Control(rateIds[i], m_btnRate[i]);
    constexpr UINT spdifModeIds[] = {1252, 1249, 1250, 1251};
    for (int i = 0; i < 4; ++i) DDX_Control(spdifModeIds[i], m_btnSpdifMode[i]);
    constexpr UINT speakerIds[] = {1039, 1040, 1042, 1043, 1052};
    for (int i = 0; i < 5; ++i) DDX_Control(speakerIds[i], m_btnSpeakers[i]);
    constexpr UINT testIds[] = {1041, 1053, 1054, 1055, 1056, 1057, 1058, 1059};
    for (int i = 0; i < 8; ++i) DDX_Control(testIds[i], m_btnSpkTest[i]);
    DDX_Control(1254, m_textRate);
    DDX_Control(1202, m_btnExpander);
    DDX_Control(1205, m_btnSoundEffects);
    DDX_Control(1182, m_btnEffectsPanel);
    DDX_Control(1183, m_btnAboutPanel);
    DDX_Control(1279, m_btnLanguage);
    DDX_Control(1255, m_textTitle);
    DDX_Control(1006, m_btnHide);
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

    ArmRefresh(kRefreshPeriod);

    const std::string wavPath = panel::ProgramDirectory() + "\\ST.WAV";
    std::snprintf(m_testWavPath, sizeof m_testWavPath, "%s", wavPath.c_str());

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_textTitle.SetWindowText(kPanelTitle);
    SetWindowText(kPanelTitle);
    CreateTextFonts();

    panel::WriteAutostart(panel::ProgramPath());

    ReadSettings();

    ApplySkins(true);

    for (auto meter : kMeters) {
        (this->*meter).m_startColour = kMeterStart;
        (this->*meter).m_endColour = kMeterEnd;
    }

    if (!m_tray.Add(m_hWnd, kTrayIconId, kTrayCallback, m_hIcon, kTrayTip)) {
        m_trayRetriesLeft = kTrayRetries;
        ::SetTimer(m_hWnd, kTrayRetryTimer, kTrayRetryPeriod, nullptr);
    }
    ShowWindow(SW_HIDE);

    m_recMixer = nullptr;
    m_recLineId = 0;
    m_recItemMic.reset();
    m_recItemLineIn.reset();
    m_recItemVideo.reset();
    m_recItemStereoMix.reset();
    m_recSelMic = m_recSelLineIn = m_recSelVideo = m_recSelStereoMix = 0;
    m_recording.ReadRecordSource();
    m_selRecMic.SetCheck(m_recSelMic ? BST_CHECKED : BST_UNCHECKED);
    m_selRecStereoMix.SetCheck(m_recSelStereoMix ? BST_CHECKED : BST_UNCHECKED);
    m_selRecLineIn.SetCheck(m_recSelLineIn ? BST_CHECKED : BST_UNCHECKED);
    m_selRecVideo.SetCheck(m_recSelVideo ? BST_CHECKED : BST_UNCHECKED);
    m_recording.ShowFirstCheckedPage();

    m_rateSpdif.ReadRate();

    ReadAudio3D();

    for (auto meter : kMeters) (this->*meter).SetRange(0, 255);

    const int channels = ChannelCount();
    BindSwitchesAndSingleFaders(channels);
    FillEdits(channels);

    ApplySkins(false);
    m_strips.SetUpFaderSkins();
    m_speakers.ReadSpeakerLayout();

    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE);
    m_started = true;
    return TRUE;
}

void CMainPanelDlg::ReadSettings() {
    // An absent or malformed key reads as 0 (the default of every key).
    auto read = [](const char* key) { return panel::ReadSetting(key).value_or(0); };
    m_btnLanguage.SetCheck(read(panel::kKeyLanguage));
    if (m_btnSpdifOut.m_hWnd) m_btnSpdifOut.SetCheck(read(panel::kKeySpdif));
    m_rateSpdif.ReadSpdifState();
    m_btnExpander.SetCheck(read(panel::kKeyExpander));

    const int channels = ChannelCount();
    for (const auto& pair : panel::kLinkPairs) {
        CSkinButton& button = this->*pair.linkButton;
        if (channels < pair.minChannels) {
            button.EnableWindow(false);
            continue;
        }
        button.SetCheck(read(pair.key));
        const BOOL linked = button.GetCheck() == BST_CHECKED ? TRUE : FALSE;
        this->*pair.linked = linked;
        (this->*pair.faderLeft).Init(pair.destination, pair.source, MIXERCONTROL_CONTROLTYPE_VOLUME,
                                     CMixerFader::LEFT, linked);
        (this->*pair.faderRight).Init(pair.destination, pair.source, MIXERCONTROL_CONTROLTYPE_VOLUME,
                                      CMixerFader::RIGHT, linked);
    }
}

void CMainPanelDlg::WriteSettings() {
    if (m_settingsWritten) return;
    m_settingsWritten = true;
    auto state = [](const CButton& button) { return button.m_hWnd && button.GetCheck() == BST_CHECKED ? 1 : 0; };
    panel::WriteSetting(panel::kKeyLanguage, state(m_btnLanguage));
    panel::WriteSetting(panel::kKeySpdif, state(m_btnSpdifOut));
    panel::WriteSetting(panel::kKeyExpander, state(m_btnExpander));
    for (const auto& pair : panel::kLinkPairs) panel::WriteSetting(pair.key, state(this->*pair.linkButton));
}

bool CMainPanelDlg::SkinnedEarly(const CSkinButton* button) const {
    auto in = [button](const auto& buttons) {
        for (const auto& b : buttons)
            if (&b == button) return true;
        return false;
    };
    return in(m_btnRate) || in(m_btnSpkTest) || button == &m_btnSpdifOut || in(m_btnSpdifMode) ||
           in(m_btnSpeakers);
}

void CMainPanelDlg::ApplySkins(bool early) {
    // The rate, speaker-test, S/PDIF and speaker buttons are skinned with the
    // settings read; the switches, links and the panel's own buttons after
    // the bindings.
    for (const SkinPairing& pairing : MainPanelSkins(m_largeSkin ? SkinSet::Large : SkinSet::Small)) {
        auto* button =
            dynamic_cast<CSkinButton*>(CWnd::FromHandle(::GetDlgItem(m_hWnd, static_cast<int>(pairing.control))));
        if (!button || SkinnedEarly(button) != early) continue;
        button->SetSkin(pairing.normal, pairing.down, pairing.over, pairing.disabled, pairing.focus, pairing.mask,
                        0, 0, 0);
    }
}

void CMainPanelDlg::ReadAudio3D() {
    std::uint8_t pair[2] = {};
    {
        CCardConnection card;
        std::uint32_t count = sizeof pair;
        if (!card || !CorraGetAudio3D(card.Get(), pair, &count)) pair[1] = 0;
    }
    m_btnSoundEffects.SetCheck(pair[1] ? BST_CHECKED : BST_UNCHECKED);
    m_btnEffectsPanel.EnableWindow(pair[1] != 0);
}

void CMainPanelDlg::BindSwitchesAndSingleFaders(int channels) {
    for (const auto& row : panel::kMixerSwitches) {
        if (channels < row.minChannels) continue;
        (this->*row.button).Init(row.destination, row.source, row.controlType, 0);
    }
    for (const auto& row : panel::kSingleFaders)
        (this->*row.fader).Init(row.destination, row.source, MIXERCONTROL_CONTROLTYPE_VOLUME, CMixerFader::MAIN, false);
}

void CMainPanelDlg::FillEdits(int channels) {
    for (const auto& row : panel::kFaderEdits) {
        if (channels >= row.minChannels) {
            ::SetDlgItemInt(m_hWnd, static_cast<int>(row.editId), static_cast<UINT>(panel::EditValueOf(this->*row.fader)),
                            TRUE);
            continue;
        }
        (this->*row.edit).ShowWindow(SW_HIDE);
        HWND placeholder = ::GetDlgItem(m_hWnd, static_cast<int>(row.placeholderId));
        ::ShowWindow(placeholder, SW_SHOW);
        ::SetWindowTextW(placeholder, L"0");
    }
}

void CMainPanelDlg::ShowPanel() {
    m_userShown = TRUE;
    ShowWindow(SW_SHOWNORMAL);
    ::BringWindowToTop(m_hWnd);
    m_visible = TRUE;
}

void CMainPanelDlg::HidePanel() {
    ShowWindow(SW_HIDE);
    m_visible = FALSE;
}

void CMainPanelDlg::ArmRefresh(UINT period) {
    if (period == m_refreshPeriod) return;
    m_refreshPeriod = period;
    ::SetTimer(m_hWnd, m_refreshTimerId, period, nullptr);
}

void CMainPanelDlg::RefreshTick() {
    std::uint8_t status[20] = {};
    bool read = false;
    {
        CCardConnection card;
        std::uint32_t count = 0;
        // A driver that reports fewer bytes than the record leaves the rest
        // unread: shown, it would be a rate of 0 and silent meters.
        read = card && CorraGetDynamicInfo(card.Get(), status, &count) && count >= sizeof status;
    }
    if (!read) {
        // Meters and rate keep their last values; the card is asked again
        // once a second until it answers.
        ArmRefresh(kRetryPeriod);
        return;
    }
    ArmRefresh(kRefreshPeriod);

    std::uint8_t b[8];
    std::memcpy(b, status, sizeof b);
    const panel::OutputLevels levels = panel::ComputeOutputLevels(b);
    m_meterMasterL.SetPos(levels.masterEven);
    m_meterMasterR.SetPos(levels.masterOdd);
    m_meterFrontL.SetPos(b[0]);
    m_meterFrontR.SetPos(b[1]);
    m_meterCenter.SetPos(b[2]);
    m_meterLfe.SetPos(b[3]);
    m_meterSurroundL.SetPos(b[4]);
    m_meterSurroundR.SetPos(b[5]);
    m_meterBackL.SetPos(b[6]);
    m_meterBackR.SetPos(b[7]);
    m_meterRecR.SetPos(status[11]);
    m_meterRecL.SetPos(status[11]);

    std::int32_t rate = 0;
    std::memcpy(&rate, status + 16, sizeof rate);
    if (rate != m_lastRate) {
        // The text is drawn on the skin: its background is repainted first.
        RECT area{};
        ::GetWindowRect(m_textRate, &area);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
        ::InvalidateRect(m_hWnd, &area, TRUE);
        wchar_t text[16];
        std::swprintf(text, 16, L"%d", static_cast<int>(rate));
        m_textRate.SetWindowText(text);
        m_lastRate = rate;
    }
    m_outLevelSumEven = levels.sumEven;
    m_outLevelSumOdd = levels.sumOdd;
}

LRESULT CMainPanelDlg::OnTimer(WPARAM id, LPARAM) {
    if (id == m_refreshTimerId) {
        RefreshTick();
    } else if (id == kTrayRetryTimer) {
        if (m_tray.Readd() || --m_trayRetriesLeft <= 0) ::KillTimer(m_hWnd, kTrayRetryTimer);
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

void CMainPanelDlg::CreateTextFonts() {
    // Made once and kept: the texts look as they would with fonts made anew
    // on every paint, and a paint costs no font.
    m_fontRate.Attach(::CreateFontW(20, 10, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0, L"Arial"));
    m_textRate.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontRate.Get()), TRUE);
    m_fontTitle.Attach(::CreateFontW(18, 10, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0, L"隶书"));
    m_textTitle.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontTitle.Get()), TRUE);
}

LRESULT CMainPanelDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

LRESULT CMainPanelDlg::OnVScroll(WPARAM, LPARAM lParam) {
    HWND sender = reinterpret_cast<HWND>(lParam);
    for (const auto& row : panel::kFaderEdits) {
        CMixerFader& fader = this->*row.fader;
        if (!sender || fader.m_hWnd != sender) continue;
        const int value = fader.Scale().sliderMax - static_cast<int>(fader.SendMessage(TBM_GETPOS));
        if (row.linked && this->*row.linked) {
            ::SetDlgItemInt(m_hWnd, static_cast<int>(row.editId), static_cast<UINT>(value), TRUE);
            ::SetDlgItemInt(m_hWnd, static_cast<int>(row.partnerEditId), static_cast<UINT>(value), TRUE);
        }
        ::SetDlgItemInt(m_hWnd, static_cast<int>(row.editId), static_cast<UINT>(value), TRUE);
        break;
    }
    return 0;
}

LRESULT CMainPanelDlg::OnWindowPosChanging(WPARAM, LPARAM lParam) {
    // Keeps the panel hidden when the modal loop shows it after start-up,
    // until the user opens it from the tray.
    if (!m_userShown) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
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
    if (m_started && m_tray.IsConfigured() && !m_tray.Readd()) {
        m_trayRetriesLeft = kTrayRetries;
        ::SetTimer(m_hWnd, kTrayRetryTimer, kTrayRetryPeriod, nullptr);
    }
    return 0;
}

LRESULT CMainPanelDlg::OnLiveCounts(WPARAM which, LPARAM) {
    // Only a program on the virtual card tells (a test's question, not a user's).
    static const bool virtualCard = !vcard::VirtualCardStateFile().empty();
    if (!virtualCard) {
        SetMsgHandled(false);
        return 0;
    }
    return LiveCount(which);
}

LRESULT CMainPanelDlg::OnDestroy(WPARAM, LPARAM) {
    ::KillTimer(m_hWnd, m_refreshTimerId);
    ::KillTimer(m_hWnd, kTrayRetryTimer);
    m_refreshPeriod = 0;
    // Start-up abandoned for a missing card loaded nothing: the stored
    // settings stay as they are.
    if (m_started) WriteSettings();
    m_tray.Remove();
    SetMsgHandled(false);
    return 0;
}

void CMainPanelDlg::OnTrayCallback(LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONDOWN) {
        m_userShown = TRUE;
        if (m_visible)
            HidePanel();
        else
            ShowPanel();
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        CMenu menu(::LoadMenuA(fw::ResourceInstance(), MAKEINTRESOURCEA(IDR_TRAY_MENU)));
        HMENU popup = menu ? ::GetSubMenu(menu, 0) : nullptr;
        if (!popup) return;
        POINT at{};
        ::GetCursorPos(&at);
        // Without the foreground the menu would not close on a click elsewhere.
        ::SetForegroundWindow(m_hWnd);
        ::TrackPopupMenu(popup, 0, at.x, at.y, 0, m_hWnd, nullptr);
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
}

void CMainPanelDlg::OnOpen() {
    if (m_visible)
        HidePanel();
    else
        ShowPanel();
}

void CMainPanelDlg::OnHide() { OnOpen(); }

void CMainPanelDlg::OnExit() {
    const std::string program = panel::ProgramPath();
    if (MessageBox(kAutostartQuestion, MB_YESNO) == IDNO) panel::RemoveAutostart(program);
    m_tray.Remove();
    ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

LRESULT CMainPanelDlg::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kTrayCallback) OnTrayCallback(lParam);
    return CSkinDialog::DefWindowProc(msg, wParam, lParam);
}

BOOL CMainPanelDlg::PreTranslateMessage(MSG* msg) {
    return m_recording.PreTranslate(msg) || CSkinDialog::PreTranslateMessage(msg);
}

bool CMainPanelDlg::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CMainPanelDlg> table[] = {
        fw::OnMessage<&CMainPanelDlg::OnDestroy>(WM_DESTROY),
        fw::OnMessage<&CMainPanelDlg::OnTimer>(WM_TIMER),
        fw::OnMessage<&CMainPanelDlg::OnPaint>(WM_PAINT),
        fw::OnMessage<&CMainPanelDlg::OnQueryDragIcon>(WM_QUERYDRAGICON),
        fw::OnMessage<&CMainPanelDlg::OnVScroll>(WM_VSCROLL),
        fw::OnMessage<&CMainPanelDlg::OnWindowPosChanging>(WM_WINDOWPOSCHANGING),
        fw::OnMessage<&CMainPanelDlg::OnEndSession>(WM_ENDSESSION),
        fw::OnRegisteredMessage<&CMainPanelDlg::OnTaskbarCreated>(fw::kTaskbarCreated),
        fw::OnRegisteredMessage<&CMainPanelDlg::OnLiveCounts>(live::kLiveCountsMessage),
        fw::OnCommand<&CMainPanelDlg::OnOpen>(ID_TRAY_OPEN, 0),
        fw::OnCommand<&CMainPanelDlg::OnExit>(ID_TRAY_EXIT, 0),
        fw::OnCommand<&CMainPanelDlg::OnHide>(1006, BN_CLICKED),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) ||
           m_strips.HandleMessage(msg, wParam, lParam, result) ||
           m_rateSpdif.HandleMessage(msg, wParam, lParam, result) ||
           m_speakers.HandleMessage(msg, wParam, lParam, result) ||
           m_recording.HandleMessage(msg, wParam, lParam, result) ||
           CSkinDialog::OnWndMsg(msg, wParam, lParam, result);
}
