// The effects window and its presets, end to end: opened from the real
// panel, bands typed, presets saved, loaded and imported with corractl.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/stories.h"

namespace {

using e2e::CProgram;
using e2e::TestName;

using e2e::kEffectsButton;
using e2e::kEffectsClose;
using e2e::kPresetButton;
using e2e::kPresetExit;

constexpr int kFirstBandEdit = IDC_FX_BAND_EDIT_1;
constexpr int kEffectsReset = IDC_FX_RESET;
constexpr int kEqualizerSwitch = IDC_FX_EQUALIZER;
constexpr int kPresetList = IDC_PRESET_LIST;
constexpr int kPresetLoad = IDC_PRESET_LOAD;
constexpr int kPresetAdd = IDC_PRESET_ADD;

HWND OpenFrom(const CProgram& program, HWND owner, int button) { return program.ClickOpen(owner, button); }

void CloseWith(const CProgram& program, HWND window, int button) {
    EXPECT_TRUE(program.ClickClose(window, button)) << "button " << button << " left it open";
}

void Type(const CProgram& program, HWND edit, const std::string& text) {
    program.Click(edit);
    for (WORD key : {WORD(VK_END), WORD(VK_BACK), WORD(VK_BACK), WORD(VK_BACK)}) program.PressKey(key);
    for (char c : text) program.PressKey(static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
}

std::wstring Band(const CProgram& program, HWND effects, int band) {
    return program.Text(::GetDlgItem(effects, kFirstBandEdit + band));
}

// The preset window's list holds this name.
bool Listed(HWND presets, const std::wstring& name) {
    return ::SendMessageW(::GetDlgItem(presets, kPresetList), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                          reinterpret_cast<LPARAM>(name.c_str())) != CB_ERR;
}

// Chooses the name in the list and presses Load.
void LoadPreset(const CProgram& program, HWND presets, const std::wstring& name) {
    HWND list = ::GetDlgItem(presets, kPresetList);
    ASSERT_NE(::SendMessageW(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str())),
              CB_ERR);
    program.Click(::GetDlgItem(presets, kPresetLoad));
}

class EffectsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_program.SetCard("audio3d", "00 00 00 05 01 00");  // 3D on: the effects button is enabled
        e2e::OpenPanel(m_program);
    }
    void TearDown() override { m_program.Kill(); }

    CProgram m_program{TestName()};
};

TEST_F(EffectsWindow, APresetSavedFromTheBandsLoadsBackAfterReopening) {
    HWND effects = OpenFrom(m_program, m_program.Panel(), kEffectsButton);
    ASSERT_NE(effects, nullptr) << "no effects window";
    ASSERT_TRUE(::IsWindowEnabled(::GetDlgItem(effects, kFirstBandEdit)))
        << "the engine is missing: " << e2e::Narrow(m_program.Text(effects));
    // The equalizer is off: read-only boxes show 0 where the band edits go.
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(effects, kFirstBandEdit)));
    m_program.Click(::GetDlgItem(effects, kEqualizerSwitch));
    ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(::GetDlgItem(effects, kFirstBandEdit)) != FALSE; }))
        << "the equalizer switch did not show the band edits";
    Type(m_program, ::GetDlgItem(effects, kFirstBandEdit), "15");
    Type(m_program, ::GetDlgItem(effects, kFirstBandEdit + 9), "4");
    ASSERT_TRUE(e2e::WaitFor([&] { return Band(m_program, effects, 0) == L"15" && Band(m_program, effects, 9) == L"4"; }))
        << "bands " << e2e::Narrow(Band(m_program, effects, 0)) << ", " << e2e::Narrow(Band(m_program, effects, 9));

    HWND presets = OpenFrom(m_program, effects, kPresetButton);
    ASSERT_NE(presets, nullptr) << "no preset window";
    Type(m_program, ::GetDlgItem(presets, kPresetList), "evening");
    m_program.Click(::GetDlgItem(presets, kPresetAdd));
    EXPECT_TRUE(e2e::WaitFor([&] { return Listed(presets, L"evening"); }));
    EXPECT_TRUE(e2e::WaitFor([&] { return m_program.ReadIni().find("evening") != std::string::npos; }))
        << "the preset is in the settings file at once";
    CloseWith(m_program, presets, kPresetExit);
    CloseWith(m_program, effects, kEffectsClose);

    effects = OpenFrom(m_program, m_program.Panel(), kEffectsButton);
    ASSERT_NE(effects, nullptr);
    m_program.Click(::GetDlgItem(effects, kEffectsReset));
    ASSERT_TRUE(e2e::WaitFor([&] { return Band(m_program, effects, 0) == L"0"; })) << Band(m_program, effects, 0);
    presets = OpenFrom(m_program, effects, kPresetButton);
    ASSERT_NE(presets, nullptr);
    LoadPreset(m_program, presets, L"evening");
    EXPECT_TRUE(e2e::WaitFor([&] { return Band(m_program, effects, 0) == L"15"; })) << Band(m_program, effects, 0);
    EXPECT_EQ(Band(m_program, effects, 9), L"4");
    EXPECT_EQ(Band(m_program, effects, 5), L"0");
    CloseWith(m_program, presets, kPresetExit);
    CloseWith(m_program, effects, kEffectsClose);
}

TEST_F(EffectsWindow, AGraphicEqFileImportedWithCorractlIsInTheList) {
    const std::string file = e2e::Narrow(m_program.Folder()) + "warm.txt";
    e2e::WriteBytes(file, "GraphicEQ: 31 6; 62 6; 125 3; 250 0; 500 0; 1000 0; 2000 0; 4000 0; "
                               "8000 0; 16000 0\n");
    const std::wstring command = L"\"" + e2e::OwnFolder() + L"corractl.exe\" preset --ini \"" +
                                 e2e::Widen(m_program.IniPath()) + L"\" import \"" + e2e::Widen(file) + L"\" warm";
    ASSERT_EQ(e2e::RunAndWait(command), 0u) << "corractl refused the import";

    HWND effects = OpenFrom(m_program, m_program.Panel(), kEffectsButton);
    ASSERT_NE(effects, nullptr);
    HWND presets = OpenFrom(m_program, effects, kPresetButton);
    ASSERT_NE(presets, nullptr);
    EXPECT_TRUE(Listed(presets, L"warm"));
    LoadPreset(m_program, presets, L"warm");
    EXPECT_TRUE(e2e::WaitFor([&] { return Band(m_program, effects, 0) == L"10"; })) << Band(m_program, effects, 0);
    EXPECT_EQ(Band(m_program, effects, 2), L"5");
    CloseWith(m_program, presets, kPresetExit);
    CloseWith(m_program, effects, kEffectsClose);
    // The program's own settings go into the same file without losing the preset.
    e2e::ExitFromTray(m_program, IDYES);
    EXPECT_NE(m_program.ReadIni().find("warm"), std::string::npos) << m_program.ReadIni();
}

}  // namespace
