// The panel's periodic refresh: every 100 ms the card's dynamic status moves
// the twelve level meters and, when it changed, the rate text. While the card
// does not answer, the meters and the rate keep their last values and the
// card is asked again once a second.
#pragma once

#include <windows.h>

#include <array>
#include <utility>

#include "framework/controls.h"
#include "framework/handles.h"
#include "panel/controls/panel_host.h"
#include "panel/skin/gradient_meter.h"

class CPanelRefresh {
public:
    static constexpr UINT_PTR kTimerId = 1;

    explicit CPanelRefresh(IPanelHost& host) : m_host(host) {}
    CPanelRefresh(const CPanelRefresh&) = delete;
    CPanelRefresh& operator=(const CPanelRefresh&) = delete;

    void BindControls();
    // The rate text's font, made once and kept.
    void CreateFont();
    // Arms the timer at the normal period.
    void Start();
    void Stop();
    // The meters' colours, and their range once the card is read.
    void SetMeterColours();
    void SetMeterRanges();
    // One tick of the timer.
    void Tick();

    // 100 ms, 1000 ms while the card does not answer, 0 before the start and after the end.
    UINT Period() const { return m_period; }
    // The last tick saw output levels.
    bool Playing() const { return m_levelSumEven != 0 || m_levelSumOdd != 0; }

private:
    void Arm(UINT period);
    std::array<std::pair<UINT, CGradientMeter*>, 12> Meters();

    IPanelHost& m_host;
    CGradientMeter m_meterMasterL, m_meterMasterR;
    CGradientMeter m_meterFrontL, m_meterFrontR, m_meterCenter, m_meterLfe;
    CGradientMeter m_meterSurroundL, m_meterSurroundR, m_meterBackL, m_meterBackR;
    CGradientMeter m_meterRecL, m_meterRecR;
    CStatic m_textRate;
    CFont m_fontRate;
    UINT m_period = 0;
    int m_lastRate = -1;  // no card reports it, so the first tick sets the text
    int m_levelSumEven = 0;
    int m_levelSumOdd = 0;
};
