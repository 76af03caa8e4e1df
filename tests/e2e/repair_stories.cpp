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

constexpr int kFirstBandEdit = 1290;
constexpr int kIntensityEdit = 1301;
constexpr int kSpreadEdit = 1300;

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

}  // namespace
