#include "panel/effects/effects_panel_dlg.h"

#include <cstdint>
#include <string>
#include <vector>

#include <shellapi.h>

#include "CorrantRecords.h"
#include "framework/app.h"
#include "framework/program_paths.h"
#include "panel/mixer/fader_skin.h"
#include "panel/effects/effects_texts.h"
#include "panel/effects/eq_file.h"
#include "panel/effects/preset_store.h"
#include "panel/effects/preset_dlg.h"
#include "panel/effects/window_place.h"
#include "panel/res/resource_ids.h"
#include "panel/res/skin_table.h"

namespace {

constexpr UINT kBandSliders[effects::kBands] = {IDC_FX_BAND_1, IDC_FX_BAND_2, IDC_FX_BAND_3, IDC_FX_BAND_4,
                                                IDC_FX_BAND_5, IDC_FX_BAND_6, IDC_FX_BAND_7, IDC_FX_BAND_8,
                                                IDC_FX_BAND_9, IDC_FX_BAND_10};
constexpr UINT kBandEdits[effects::kBands] = {IDC_FX_BAND_EDIT_1, IDC_FX_BAND_EDIT_2, IDC_FX_BAND_EDIT_3,
                                              IDC_FX_BAND_EDIT_4, IDC_FX_BAND_EDIT_5, IDC_FX_BAND_EDIT_6,
                                              IDC_FX_BAND_EDIT_7, IDC_FX_BAND_EDIT_8, IDC_FX_BAND_EDIT_9,
                                              IDC_FX_BAND_EDIT_10};
constexpr UINT kBandZeros[effects::kBands] = {IDC_FX_BAND_ZERO_1, IDC_FX_BAND_ZERO_2, IDC_FX_BAND_ZERO_3,
                                              IDC_FX_BAND_ZERO_4, IDC_FX_BAND_ZERO_5, IDC_FX_BAND_ZERO_6,
                                              IDC_FX_BAND_ZERO_7, IDC_FX_BAND_ZERO_8, IDC_FX_BAND_ZERO_9,
                                              IDC_FX_BAND_ZERO_10};
constexpr int kEnvironmentNone = QS_ENVIRONMENT_NONE;

using corra::EnvironmentPreset;
using corra::EqualizerRecord;
static_assert(corra::kEqualizerBands == effects::kBands);

void Show(HWND window, bool show) { ::ShowWindow(window, show ? SW_SHOW : SW_HIDE); }

void SetNumber(HWND edit, int value) { ::SetWindowTextW(edit, std::to_wstring(value).c_str()); }

}  // namespace

CEffectsPanelDlg::CEffectsPanelDlg() : CSkinDialog(IDD_EFFECTS_PANEL, nullptr) {}

CEffectsPanelDlg::~CEffectsPanelDlg() = default;

std::string CEffectsPanelDlg::SettingsFile() const {
    return m_settingsFile.empty() ? fw::SettingsPath() : m_settingsFile;
}

void CEffectsPanelDlg::DoDataExchange() {
    for (int band = 0; band < effects::kBands; ++band) {
        DDX_Control(kBandSliders[band], m_sliderBand[band]);
        DDX_Control(kBandEdits[band], m_editBand[band]);
        DDX_Control(kBandZeros[band], m_zeroBand[band]);
    }
    DDX_Control(IDC_FX_EQUALIZER, m_btnEqualizer);
    DDX_Control(IDC_FX_RESET, m_btnReset);
    DDX_Control(IDC_FX_PRESET, m_btnPreset);
    DDX_Control(IDC_FX_ENVIRONMENT, m_btnEnvironment);
    DDX_Control(IDC_FX_ENV_LIST, m_listEnvironment);
    DDX_Control(IDC_FX_ENV_INIT, m_btnEnvInit);
    DDX_Control(IDC_FX_INTENSITY, m_sliderIntensity);
    DDX_Control(IDC_FX_INTENSITY_EDIT, m_editIntensity);
    DDX_Control(IDC_FX_INTENSITY_ZERO, m_zeroIntensity);
    DDX_Control(IDC_FX_3D, m_btn3d);
    DDX_Control(IDC_FX_SPREAD, m_sliderSpread);
    DDX_Control(IDC_FX_SPREAD_EDIT, m_editSpread);
    DDX_Control(IDC_FX_SPREAD_ZERO, m_zeroSpread);
    DDX_Control(IDC_FX_CLOSE, m_btnClose);
}

void CEffectsPanelDlg::ApplySkin() {
    SetBackground(IDB_EFFECTS_BACK, kStretch);
    for (CSkinButton* button : {&m_btnClose, &m_btnReset, &m_btnEnvInit, &m_btnPreset, &m_btnEqualizer,
                                &m_btnEnvironment, &m_btn3d}) {
        if (const SkinPairing* skin = FindSkin(EffectsPanelSkins(), button->GetDlgCtrlID()))
            button->SetSkin(skin->normal, skin->down, skin->over, skin->disabled, skin->focus, skin->mask, 0, 0, 0);
    }

    if (!m_thumbStrip) m_thumbStrip = MakeFaderThumbStrip();
    if (!m_trackStrip) m_trackStrip = MakeFaderTrackStrip();
    if (!m_hand) m_hand = LoadHandCursor(m_ownedHand);
    auto skinSlider = [this](CMixerFader& slider) {
        ApplyFaderSkin(slider, m_thumbStrip.get(), m_trackStrip.get(), m_trackStrip.get(), m_hand);
    };
    for (CMixerFader& slider : m_sliderBand) skinSlider(slider);
    skinSlider(m_sliderIntensity);
    skinSlider(m_sliderSpread);
}

BOOL CEffectsPanelDlg::OnInitDialog() {
    CSkinDialog::OnInitDialog();
    ApplySkin();
    effects::CentreOnOwner(m_hWnd);
    // One tooltip for the control under the mouse, disabled ones included;
    // the texts come from OnNotifyMessage.
    EnableToolTips(true);

    m_engineOpen = QS_OPEN(m_hWnd) != 0;
    if (!m_engineOpen) {
        ::SetWindowTextW(m_hWnd, effects::kNotSupported);
        // Everything but the close button: the panel must stay closable
        // (a disabled window would take neither the click nor Escape).
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            if (child != m_btnClose.m_hWnd) ::EnableWindow(child, FALSE);
        ::SetFocus(m_btnClose.m_hWnd);
        return FALSE;
    }

    for (CMixerFader& slider : m_sliderBand) slider.SetRange(effects::kBandMin, effects::kBandMax);
    m_sliderIntensity.SetRange(0, effects::kPercentRange);
    m_sliderSpread.SetRange(0, effects::kPercentRange);
    for (CDigitEdit& edit : m_editBand) edit.SetLimitText(3);
    m_editIntensity.SetLimitText(3);
    m_editSpread.SetLimitText(3);

    // The edits' changes while the window fills them are its own, not the
    // user's: their text is the engine's value rounded to the window's
    // steps, and sending it would change what the engine holds.
    m_loading = true;
    LoadFromEngine();
    m_loading = false;
    ::DragAcceptFiles(m_hWnd, TRUE);
    return TRUE;
}

void CEffectsPanelDlg::LoadFromEngine() {
    FillEnvironmentList();
    uint32_t count = 0;
    EnvironmentPreset preset{0, kEnvironmentNone};
    QS_GetEnvPreset(&preset, &count);
    const bool environmentOn = preset.environment != kEnvironmentNone;
    m_btnEnvironment.SetCheck(environmentOn ? BST_CHECKED : BST_UNCHECKED);
    ShowEnvironmentPairs(environmentOn);
    if (environmentOn) m_listEnvironment.SetCurSel(preset.environment);

    uint32_t intensity = 0;
    QS_GetIntensity(&intensity);
    m_sliderIntensity.SetPos(effects::EngineToPercentSlider(intensity));
    ShowPercent(m_editIntensity, m_sliderIntensity.GetPos());

    EqualizerRecord eq{};
    count = 0;
    QS_GetEqualizer(&eq, &count);
    m_btnEqualizer.SetCheck(eq.on ? BST_CHECKED : BST_UNCHECKED);
    ShowEqualizerPairs(eq.on != 0);
    effects::BandPositions positions{};
    for (int band = 0; band < effects::kBands; ++band)
        positions[band] = effects::EngineToBand(eq.tenths[band]);
    SetBandPositions(positions);

    uint8_t expander = 0;
    QS_GetQXpanderStereo(&expander);
    m_btn3d.SetCheck(expander ? BST_CHECKED : BST_UNCHECKED);
    Show3dPairs(expander != 0);

    uint32_t spread = 0;
    QS_GetStereoSpread(&spread);
    m_sliderSpread.SetPos(effects::EngineToPercentSlider(spread));
    ShowPercent(m_editSpread, m_sliderSpread.GetPos());
}

void CEffectsPanelDlg::FillEnvironmentList() {
    m_listEnvironment.ResetContent();
    uint32_t environments = 0;
    QS_GetNumEnvironments(&environments);
    for (int32_t i = 0; i < static_cast<int32_t>(environments); ++i) {
        char name[32] = {};
        if (!QS_GetEnvironmentName(i, name)) continue;
        m_listEnvironment.AddString(effects::FromProfileName(name).c_str());
    }
}

void CEffectsPanelDlg::ShowPercent(CDigitEdit& edit, int sliderPosition) {
    SetNumber(edit.m_hWnd, effects::PercentSliderToEdit(sliderPosition));
}

void CEffectsPanelDlg::ShowEqualizerPairs(bool on) {
    for (int band = 0; band < effects::kBands; ++band) {
        Show(m_editBand[band].m_hWnd, on);
        Show(m_sliderBand[band].m_hWnd, on);
        if (!on) ::SetWindowTextW(m_zeroBand[band].m_hWnd, L"0");
        Show(m_zeroBand[band].m_hWnd, !on);
    }
}

void CEffectsPanelDlg::ShowEnvironmentPairs(bool on) {
    ::EnableWindow(m_listEnvironment.m_hWnd, on);
    ::EnableWindow(m_btnEnvInit.m_hWnd, on);
    Show(m_sliderIntensity.m_hWnd, on);
    Show(m_editIntensity.m_hWnd, on);
    if (!on) ::SetWindowTextW(m_zeroIntensity.m_hWnd, L"0");
    Show(m_zeroIntensity.m_hWnd, !on);
}

void CEffectsPanelDlg::Show3dPairs(bool on) {
    Show(m_sliderSpread.m_hWnd, on);
    Show(m_editSpread.m_hWnd, on);
    if (!on) ::SetWindowTextW(m_zeroSpread.m_hWnd, L"0");
    Show(m_zeroSpread.m_hWnd, !on);
}

effects::BandPositions CEffectsPanelDlg::BandPositions() const {
    effects::BandPositions positions{};
    for (int band = 0; band < effects::kBands; ++band) positions[band] = m_sliderBand[band].GetPos();
    return positions;
}

void CEffectsPanelDlg::SetBandPositions(const effects::BandPositions& positions) {
    for (int band = 0; band < effects::kBands; ++band) m_sliderBand[band].SetPos(positions[band]);
    for (int band = 0; band < effects::kBands; ++band) SetNumber(m_editBand[band].m_hWnd, -positions[band]);
}

bool CEffectsPanelDlg::EqualizerOn() const { return m_btnEqualizer.GetCheck() == BST_CHECKED; }

void CEffectsPanelDlg::SendEqualizer() {
    EqualizerRecord eq{};
    eq.on = EqualizerOn() ? 1 : 0;
    const effects::BandPositions positions = BandPositions();
    for (int band = 0; band < effects::kBands; ++band)
        eq.tenths[band] = static_cast<float>(effects::BandToEngine(positions[band]));
    uint32_t count = 0;
    QS_SetEqualizer(&eq, &count);
}

void CEffectsPanelDlg::OnEqualizerClicked() {
    ShowEqualizerPairs(EqualizerOn());
    SendEqualizer();
}

void CEffectsPanelDlg::OnResetClicked() {
    SetBandPositions(effects::BandPositions{});
    SendEqualizer();
}

void CEffectsPanelDlg::OnPresetClicked() {
    CPresetDlg presets(*this);
    presets.DoModal();
}

void CEffectsPanelDlg::OnEnvironmentClicked() {
    const bool on = m_btnEnvironment.GetCheck() == BST_CHECKED;
    EnvironmentPreset preset{1, kEnvironmentNone};
    if (on) {
        ShowEnvironmentPairs(true);
        preset.environment = m_listEnvironment.GetCurSel();  // CB_ERR is -1: none
    } else {
        ShowEnvironmentPairs(false);
    }
    uint32_t count = 0;
    QS_SetEnvPreset(&preset, &count);
}

void CEffectsPanelDlg::OnEnvironmentSelected() {
    EnvironmentPreset preset{0, m_listEnvironment.GetCurSel()};
    uint32_t count = 0;
    QS_SetEnvPreset(&preset, &count);
}

// Re-reads the environment part only: the switch, the list and the
// intensity slider; the edit and what is shown stay as they are.
void CEffectsPanelDlg::OnEnvInitClicked() {
    FillEnvironmentList();
    EnvironmentPreset preset{0, kEnvironmentNone};
    uint32_t count = 0;
    QS_GetEnvPreset(&preset, &count);
    if (preset.environment == kEnvironmentNone) {
        m_btnEnvironment.SetCheck(BST_UNCHECKED);
        ::EnableWindow(m_listEnvironment.m_hWnd, FALSE);
    } else {
        m_btnEnvironment.SetCheck(BST_CHECKED);
        m_listEnvironment.SetCurSel(preset.environment);
    }
    uint32_t intensity = 0;
    QS_GetIntensity(&intensity);
    m_sliderIntensity.SetPos(effects::EngineToPercentSlider(intensity));
}

void CEffectsPanelDlg::On3dClicked() {
    const bool on = m_btn3d.GetCheck() == BST_CHECKED;
    Show3dPairs(on);
    QS_SetQXpanderStereo(on ? 1 : 0);
}

void CEffectsPanelDlg::OnCloseClicked() { ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); }

void CEffectsPanelDlg::OnBandEditChanged(UINT id) {
    int band = 0;
    while (band < effects::kBands && kBandEdits[band] != id) ++band;
    if (band == effects::kBands) return SetMsgHandled(false);
    if (m_loading) return;
    CDigitEdit& edit = m_editBand[band];
    edit.SetLimitText(3);
    const effects::Clamped value = effects::ClampBandEdit(effects::ParseEditNumber(edit.GetWindowText()));
    if (value.rewrite) SetNumber(edit.m_hWnd, value.value);
    m_sliderBand[band].SetPos(-value.value);
    SendEqualizer();
}

void CEffectsPanelDlg::OnIntensityEditChanged() { OnPercentEditChanged(m_editIntensity, m_sliderIntensity, false); }

void CEffectsPanelDlg::OnSpreadEditChanged() { OnPercentEditChanged(m_editSpread, m_sliderSpread, true); }

void CEffectsPanelDlg::OnPercentEditChanged(CDigitEdit& edit, CMixerFader& slider, bool spread) {
    if (m_loading) return;
    edit.SetLimitText(3);
    const effects::Clamped value = effects::ClampPercentEdit(effects::ParseEditNumber(edit.GetWindowText()));
    if (value.rewrite) SetNumber(edit.m_hWnd, value.value);
    slider.SetPos(effects::PercentEditToSlider(value.value));
    const auto engine = static_cast<uint32_t>(effects::PercentSliderToEngine(slider.GetPos()));
    if (spread)
        QS_SetStereoSpread(engine);
    else
        QS_SetIntensity(engine);
}

LRESULT CEffectsPanelDlg::OnVScroll(WPARAM, LPARAM lParam) {
    const auto slider = reinterpret_cast<HWND>(lParam);
    if (slider == m_sliderIntensity.m_hWnd || slider == m_sliderSpread.m_hWnd) {
        const bool spread = slider == m_sliderSpread.m_hWnd;
        CMixerFader& fader = spread ? m_sliderSpread : m_sliderIntensity;
        const int position = fader.GetPos();
        ShowPercent(spread ? m_editSpread : m_editIntensity, position);
        const auto engine = static_cast<uint32_t>(effects::PercentSliderToEngine(position));
        if (spread)
            QS_SetStereoSpread(engine);
        else
            QS_SetIntensity(engine);
        return 0;
    }
    for (const CMixerFader& band : m_sliderBand) {
        if (slider != band.m_hWnd) continue;
        SendEqualizer();
        const effects::BandPositions positions = BandPositions();
        for (int i = 0; i < effects::kBands; ++i) SetNumber(m_editBand[i].m_hWnd, -positions[i]);
        return 0;
    }
    SetMsgHandled(false);
    return 0;
}

LRESULT CEffectsPanelDlg::OnNcHitTest(WPARAM, LPARAM) {
    const LRESULT hit = Default();
    return hit == HTCLIENT ? HTCAPTION : hit;
}

// Tooltip texts, asked for with the control's window as the tool's ID; the
// controls without a text of their own show none.
LRESULT CEffectsPanelDlg::OnNotifyMessage(WPARAM, LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr || header->code != TTN_NEEDTEXTW) {
        SetMsgHandled(false);
        return 0;
    }
    auto* request = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    const UINT id = (request->uFlags & TTF_IDISHWND)
                        ? static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)))
                        : static_cast<UINT>(header->idFrom);
    for (const effects::ToolTipText& tip : effects::kToolTips) {
        if (tip.control != id) continue;
        request->lpszText = const_cast<wchar_t*>(m_chinese ? tip.chinese : tip.english);
        request->hinst = nullptr;
        return 0;
    }
    SetMsgHandled(false);
    return 0;
}

namespace {

// A drop's file list, released when the handler is done with it.
class CDropFiles {
public:
    explicit CDropFiles(HDROP drop) : m_drop(drop) {}
    ~CDropFiles() { ::DragFinish(m_drop); }
    CDropFiles(const CDropFiles&) = delete;
    CDropFiles& operator=(const CDropFiles&) = delete;

    std::vector<std::wstring> Paths() const {
        std::vector<std::wstring> paths;
        const UINT count = ::DragQueryFileW(m_drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            const UINT length = ::DragQueryFileW(m_drop, i, nullptr, 0);
            std::wstring path(length + 1, L'\0');
            path.resize(::DragQueryFileW(m_drop, i, path.data(), length + 1));
            if (!path.empty()) paths.push_back(path);
        }
        return paths;
    }

private:
    HDROP m_drop;
};

}  // namespace

LRESULT CEffectsPanelDlg::OnDropFiles(WPARAM wParam, LPARAM) {
    std::vector<std::wstring> paths;
    {
        const CDropFiles drop(reinterpret_cast<HDROP>(wParam));
        paths = drop.Paths();
    }
    for (const std::wstring& path : paths) ImportDroppedFile(path);
    return 0;
}

void CEffectsPanelDlg::ImportDroppedFile(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring file = slash == std::wstring::npos ? path : path.substr(slash + 1);
    auto refuse = [&](const std::wstring& why) {
        fw::AppMessageBox(effects::DropRefusedText(file, why, m_chinese), MB_OK | MB_ICONWARNING);
    };

    const std::wstring name = effects::PresetNameOfFile(path);
    const effects::NameProblem problem = effects::CheckStorableName(name);
    if (problem != effects::NameProblem::kNone) {
        const wchar_t* why = effects::NameProblemText(problem, m_chinese);
        return refuse(why ? why : effects::EmptyNameText(m_chinese));
    }
    const effects::EqFileImport read = effects::ImportEqualizerFile(path);
    if (!read.Ok()) return refuse(effects::DescribeRefusal(read, m_chinese));

    // A preset of that name is replaced only when the user agrees, as ADD asks.
    const effects::CPresetStore store(SettingsFile());
    const bool listed = store.Listed(name);
    if (listed && fw::AppMessageBox(effects::kOverwriteQuestion, MB_YESNO) != IDYES) return;
    if (!store.Save(name, read.curve.positions, true)) return refuse(effects::SettingsNotWrittenText(m_chinese));

    SetBandPositions(read.curve.positions);
    SendEqualizer();
    std::vector<std::wstring> fitted;
    for (const std::string& said : effects::DescribeEqFit(read.curve, m_chinese))
        fitted.push_back(effects::WideFromUtf8(said));
    if (!fitted.empty())
        fw::AppMessageBox(effects::DropFittedText(name, fitted, m_chinese), MB_OK | MB_ICONINFORMATION);
}

bool CEffectsPanelDlg::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CEffectsPanelDlg> table[] = {
        fw::OnCommand<&CEffectsPanelDlg::OnEqualizerClicked>(IDC_FX_EQUALIZER),
        fw::OnCommand<&CEffectsPanelDlg::OnResetClicked>(IDC_FX_RESET),
        fw::OnCommand<&CEffectsPanelDlg::OnPresetClicked>(IDC_FX_PRESET),
        fw::OnCommand<&CEffectsPanelDlg::OnEnvironmentClicked>(IDC_FX_ENVIRONMENT),
        fw::OnCommand<&CEffectsPanelDlg::OnEnvironmentSelected>(IDC_FX_ENV_LIST, CBN_SELCHANGE),
        fw::OnCommand<&CEffectsPanelDlg::OnEnvInitClicked>(IDC_FX_ENV_INIT),
        fw::OnCommand<&CEffectsPanelDlg::On3dClicked>(IDC_FX_3D),
        fw::OnCommand<&CEffectsPanelDlg::OnCloseClicked>(IDC_FX_CLOSE),
        fw::OnCommandIn<&CEffectsPanelDlg::OnBandEditChanged>(kBandEdits, EN_CHANGE),
        fw::OnCommand<&CEffectsPanelDlg::OnIntensityEditChanged>(IDC_FX_INTENSITY_EDIT, EN_CHANGE),
        fw::OnCommand<&CEffectsPanelDlg::OnSpreadEditChanged>(IDC_FX_SPREAD_EDIT, EN_CHANGE),
        fw::OnMessage<&CEffectsPanelDlg::OnVScroll>(WM_VSCROLL),
        fw::OnMessage<&CEffectsPanelDlg::OnNcHitTest>(WM_NCHITTEST),
        fw::OnMessage<&CEffectsPanelDlg::OnNotifyMessage>(WM_NOTIFY),
        fw::OnMessage<&CEffectsPanelDlg::OnDropFiles>(WM_DROPFILES),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) || CSkinDialog::OnWndMsg(msg, wParam, lParam, result);
}
