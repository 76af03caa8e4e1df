// Stories of faults a user met and that are mended: the effects window
// opened only to look, and equalizer files as headphone-correction databases
// publish them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/stories.h"

namespace {

using e2e::CProgram;
using e2e::TestName;

constexpr int kFirstBandEdit = IDC_FX_BAND_EDIT_1;
constexpr int kIntensityEdit = IDC_FX_INTENSITY_EDIT;
constexpr int kSpreadEdit = IDC_FX_SPREAD_EDIT;

class Repairs : public ::testing::Test {
protected:
    void SetUp() override {
        m_program.SetCard("audio3d", "00 00 00 05 01 00");  // 3D on: the effects button is enabled
    }
    void TearDown() override { m_program.Kill(); }

    HWND OpenEffects() { return m_program.ClickOpen(m_program.Panel(), e2e::kEffectsButton); }
    void CloseEffects(HWND effects) {
        EXPECT_TRUE(m_program.ClickClose(effects, e2e::kEffectsClose)) << "the effects window stayed open";
    }

    CProgram m_program{TestName()};
};

// Another program set band 1 to 5.0 dB, the intensity to 354 and the spread to
// 355 per mille: values the window shows rounded to its steps. Looking at them
// must not change them.
TEST_F(Repairs, OpeningTheEffectsWindowLeavesTheEngineAsItWas) {
    m_program.SetCard("qs.equalizer",
                      "01 00 00 00 0A 00 00 00 52 3D 47 3F 00 00 00 00 00 00 00 00 00 00 00 00 "
                      "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    m_program.SetCard("qs.intensity", "7A FC FF FF");  // -902 millibels: 354 per mille
    m_program.SetCard("qs.environment", "00 00 00 00 02 00 00 00");
    m_program.SetCard("qs.xpander_state", "01 00 00 00");
    m_program.SetCard("qs.spread", "8F C2 B5 3E");  // 0.355
    e2e::OpenPanel(m_program);
    if (HasFatalFailure()) return;
    const std::vector<std::string> keys = {"qs.equalizer", "qs.intensity", "qs.spread", "qs.environment",
                                           "qs.xpander_state"};
    std::vector<std::string> before;
    for (const std::string& key : keys) before.push_back(m_program.Card(key));

    HWND effects = OpenEffects();
    ASSERT_NE(effects, nullptr) << "no effects window";
    EXPECT_TRUE(e2e::WaitFor([&] { return m_program.Text(::GetDlgItem(effects, kFirstBandEdit)) == L"8"; }))
        << e2e::Narrow(m_program.Text(::GetDlgItem(effects, kFirstBandEdit)));
    EXPECT_EQ(m_program.Text(::GetDlgItem(effects, kIntensityEdit)), L"36");
    EXPECT_EQ(m_program.Text(::GetDlgItem(effects, kSpreadEdit)), L"36");
    CloseEffects(effects);
    for (std::size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(m_program.Card(keys[i]), before[i]) << keys[i];
}

// The files a headphone-correction database gives for one headphone: the
// ten-band file (saved again by a text editor as UTF-16) and the parametric
// file, in Equalizer APO's form. Both import with corractl and load in the
// effects window.
TEST_F(Repairs, EqualizerApoFilesImportAndLoad) {
    e2e::OpenPanel(m_program);
    if (HasFatalFailure()) return;
    const std::string folder = e2e::Narrow(m_program.Folder());
    std::string tenBand = "\xFF\xFE";
    for (const char c : std::string("Preamp: -6.1 dB\r\n"
                                    "Filter 1: ON PK Fc 31 Hz Gain 5.3 dB Q 1.41\r\n"
                                    "Filter 2: ON PK Fc 62 Hz Gain 4.9 dB Q 1.41\r\n"
                                    "Filter 3: ON PK Fc 125 Hz Gain 1.3 dB Q 1.41\r\n"
                                    "Filter 4: ON PK Fc 250 Hz Gain -2.5 dB Q 1.41\r\n"
                                    "Filter 5: ON PK Fc 500 Hz Gain -0.4 dB Q 1.41\r\n"
                                    "Filter 6: ON PK Fc 1000 Hz Gain 0.2 dB Q 1.41\r\n"
                                    "Filter 7: ON PK Fc 2000 Hz Gain 3.1 dB Q 1.41\r\n"
                                    "Filter 8: ON PK Fc 4000 Hz Gain 6.0 dB Q 1.41\r\n"
                                    "Filter 9: ON PK Fc 8000 Hz Gain -4.5 dB Q 1.41\r\n"
                                    "Filter 10: ON PK Fc 16000 Hz Gain -1.3 dB Q 1.41\r\n")) {
        tenBand += c;
        tenBand += '\0';
    }
    e2e::WriteBytes(folder + "HD 600 FixedBandEQ.txt", tenBand);
    e2e::WriteBytes(folder + "HD 600 ParametricEQ.txt",
                    "Preamp: -3 dB\n"
                    "Filter 1: ON LSC Fc 105 Hz Gain 6.0 dB Q 0.70\n"
                    "Filter 2: ON PK Fc 1000 Hz Gain -4.0 dB Q 2.0\n"
                    "Filter 3: ON HSC Fc 10000 Hz Gain 3.0 dB Q 0.70\n");
    for (const char* file : {"HD 600 FixedBandEQ.txt", "HD 600 ParametricEQ.txt"}) {
        const std::wstring command = L"\"" + e2e::OwnFolder() + L"corractl.exe\" preset --ini \"" +
                                     e2e::Widen(m_program.IniPath()) + L"\" import \"" + e2e::Widen(folder + file) +
                                     L"\"";
        ASSERT_EQ(e2e::RunAndWait(command), 0u) << "corractl refused " << file;
    }

    HWND effects = OpenEffects();
    ASSERT_NE(effects, nullptr) << "no effects window";
    HWND presets = m_program.ClickOpen(effects, e2e::kPresetButton);
    ASSERT_NE(presets, nullptr) << "no preset window";
    HWND list = ::GetDlgItem(presets, 1186);
    auto load = [&](const wchar_t* name) {
        ASSERT_NE(::SendMessageW(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)),
                  CB_ERR)
            << e2e::Narrow(name) << " is not listed";
        m_program.Click(::GetDlgItem(presets, 1286));
    };
    auto bands = [&] {
        std::wstring shown;
        for (int band = 0; band < 10; ++band)
            shown += (band ? L" " : L"") + m_program.Text(::GetDlgItem(effects, kFirstBandEdit + band));
        return shown;
    };
    // Each band's own gain plus the preamp: -0.8, -1.2, -4.8 … -7.4 dB.
    load(L"HD 600 FixedBandEQ");
    EXPECT_TRUE(e2e::WaitFor([&] { return bands() == L"-1 -2 -8 -14 -11 -10 -5 0 -18 -12"; }))
        << e2e::Narrow(bands());
    // The three filters' response at each centre, less 3 dB.
    load(L"HD 600 ParametricEQ");
    EXPECT_TRUE(e2e::WaitFor([&] { return bands() == L"5 4 -2 -5 -6 -12 -6 -5 -4 0"; })) << e2e::Narrow(bands());
    EXPECT_TRUE(m_program.ClickClose(presets, e2e::kPresetExit));
    CloseEffects(effects);
}

}  // namespace
