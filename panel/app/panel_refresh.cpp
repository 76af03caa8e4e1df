#include "panel/app/panel_refresh.h"

#include <cstdint>
#include <cwchar>
#include <utility>

#include "CorrantRecords.h"
#include "panel/app/refresh_math.h"
#include "panel/res/resource_ids.h"

namespace {

constexpr UINT kRefreshPeriod = 100;
// While the card does not answer, the refresh asks again once a second.
constexpr UINT kRetryPeriod = 1000;

constexpr COLORREF kMeterStart = 0x9B00FF;
constexpr COLORREF kMeterEnd = 0x9B0000;

}  // namespace

// The meters with their controls, in the order they are set up.
std::array<std::pair<UINT, CGradientMeter*>, 12> CPanelRefresh::Meters() {
    return {{{IDC_METER_MASTER_L, &m_meterMasterL},
             {IDC_METER_MASTER_R, &m_meterMasterR},
             {IDC_METER_FRONT_L, &m_meterFrontL},
             {IDC_METER_FRONT_R, &m_meterFrontR},
             {IDC_METER_CENTER, &m_meterCenter},
             {IDC_METER_LFE, &m_meterLfe},
             {IDC_METER_SURROUND_L, &m_meterSurroundL},
             {IDC_METER_SURROUND_R, &m_meterSurroundR},
             {IDC_METER_BACK_L, &m_meterBackL},
             {IDC_METER_BACK_R, &m_meterBackR},
             {IDC_METER_REC_R, &m_meterRecR},
             {IDC_METER_REC_L, &m_meterRecL}}};
}

void CPanelRefresh::BindControls() {
    for (const auto& [id, meter] : Meters()) m_host.BindControl(id, *meter);
    m_host.BindControl(IDC_RATE_TEXT, m_textRate);
}

void CPanelRefresh::CreateFont() {
    m_fontRate.Attach(::CreateFontW(20, 10, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0, L"Arial"));
    m_textRate.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontRate.Get()), TRUE);
}

void CPanelRefresh::SetMeterColours() {
    for (const auto& [id, meter] : Meters()) {
        meter->m_startColour = kMeterStart;
        meter->m_endColour = kMeterEnd;
    }
}

void CPanelRefresh::SetMeterRanges() {
    for (const auto& [id, meter] : Meters()) meter->SetRange(0, 255);
}

void CPanelRefresh::Start() { Arm(kRefreshPeriod); }

void CPanelRefresh::Stop() {
    ::KillTimer(m_host.Window(), kTimerId);
    m_period = 0;
}

void CPanelRefresh::Arm(UINT period) {
    if (period == m_period) return;
    m_period = period;
    ::SetTimer(m_host.Window(), kTimerId, period, nullptr);
}

void CPanelRefresh::Tick() {
    corra::StatusRecord status{};
    bool read = false;
    {
        corra::Connection card;
        std::uint32_t count = 0;
        // A driver that reports fewer bytes than the record leaves the rest
        // unread: shown, it would be a rate of 0 and silent meters.
        read = card && CorraGetDynamicInfo(card.Handle(), status.data(), &count) && count >= status.size();
    }
    if (!read) {
        // Meters and rate keep their last values; the card is asked again
        // once a second until it answers.
        Arm(kRetryPeriod);
        return;
    }
    Arm(kRefreshPeriod);

    std::uint8_t b[8];
    for (std::size_t channel = 0; channel < 8; ++channel) b[channel] = corra::OutputLevel(status, channel);
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
    m_meterRecR.SetPos(corra::RecordingLevel(status));
    m_meterRecL.SetPos(corra::RecordingLevel(status));

    const auto rate = static_cast<std::int32_t>(corra::RunningRate(status));
    if (rate != m_lastRate) {
        // The text is drawn on the skin: its background is repainted first.
        const HWND panel = m_host.Window();
        RECT area{};
        ::GetWindowRect(m_textRate, &area);
        ::MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&area), 2);
        ::InvalidateRect(panel, &area, TRUE);
        wchar_t text[16];
        std::swprintf(text, 16, L"%d", static_cast<int>(rate));
        m_textRate.SetWindowText(text);
        m_lastRate = rate;
    }
    m_levelSumEven = levels.sumEven;
    m_levelSumOdd = levels.sumOdd;
}
