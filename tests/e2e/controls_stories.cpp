// The main panel's audio controls, end to end: the real program on the
// virtual card, driven by real clicks and keys, checked on the card.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/stories.h"

namespace {

using e2e::CProgram;
using e2e::OpenPanel;
using e2e::TestName;

void MouseTo(int x, int y) {
    ::SetCursorPos(x, y);
    ::Sleep(60);
}

void MouseButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
    ::Sleep(80);
}

}  // namespace

TEST(AudioControls, TypedVolumeIsClampedAndEnterKeepsThePanel) {
    CProgram program(TestName());
    OpenPanel(program);
    program.Click(program.Control(IDC_EDIT_MASTER_L));
    const WORD keys[] = {VK_END, VK_BACK, VK_BACK, VK_BACK, '2', '5', '0'};
    for (WORD key : keys) program.PressKey(key);
    ASSERT_TRUE(e2e::WaitFor([&] { return program.Text(program.Control(IDC_EDIT_MASTER_L)) == L"100"; }));
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("mixer.0.0.m.volume").rfind("65500 ", 0) == 0; }))
        << program.Card("mixer.0.0.m.volume");

    program.PressKey(VK_RETURN);  // returns once the program has handled the key
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(program.PanelVisible());
    program.PressKey(WORD('7'));  // the focus left the edit
    EXPECT_EQ(program.Text(program.Control(IDC_EDIT_MASTER_L)), L"100");
    program.Kill();
}

TEST(AudioControls, RateChangeWhileMusicPlays) {
    CProgram program(TestName());
    program.SetCard("playing", "1");
    OpenPanel(program);
    ASSERT_TRUE(e2e::WaitFor([&] { return program.MetersShowSound(); })) << "the refresh did not see the music";
    program.Click(program.Control(IDC_RATE_44K1));
    auto box = program.WaitForMessageBox();
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(box->text, L"This will take effect after current task is stopped!");
    EXPECT_EQ(box->owner, program.Panel());
    CProgram::Answer(*box, IDOK);
    EXPECT_EQ(program.Card("sample_rate"), "00 08");
    program.Kill();
}

TEST(AudioControls, StartUpLeavesFivePointOneAlone) {
    CProgram program(TestName());
    program.SetCard("ds_speaker_config", "6");
    OpenPanel(program);
    EXPECT_TRUE(program.Checked(IDC_SPK_5_1));
    EXPECT_FALSE(program.Checked(IDC_SPK_HEADPHONES));
    EXPECT_EQ(program.Card("ds_speaker_config"), "6");
    // Choosing headphones by hand is written, and hides the surround strip.
    program.Click(program.Control(IDC_SPK_HEADPHONES));
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("ds_speaker_config") == "1"; }));
    EXPECT_FALSE(::IsWindowVisible(program.Control(IDC_FADER_SURROUND_L)));
    EXPECT_EQ(program.Text(program.Control(IDC_ZERO_SURROUND_L)), L"0");
    program.Kill();
}

TEST(AudioControls, SoundEffectsRestartsOnlyWhenTheUserSaysYes) {
    CProgram program(TestName());
    OpenPanel(program);
    program.Click(program.Control(IDC_SOUND_EFFECTS));
    auto question = program.WaitForMessageBox();
    ASSERT_TRUE(question);
    EXPECT_EQ(question->text, L"Please reboot to take effect!");
    CProgram::Answer(*question, IDNO);
    program.WaitUntilHandled();  // the answer taken, and the handler that asked returned
    EXPECT_EQ(program.SystemLog().find("exit windows"), std::string::npos);
    // No reboot, but the card keeps the effect on (byte 4 of its record).
    EXPECT_EQ(program.Card("audio3d").substr(12, 2), "01") << program.Card("audio3d");

    program.Click(program.Control(IDC_LANGUAGE));  // Chinese
    program.Click(program.Control(IDC_SOUND_EFFECTS));
    question = program.WaitForMessageBox();
    ASSERT_TRUE(question);
    EXPECT_EQ(question->text, L"\u5fc5\u987b\u91cd\u542f\u7cfb\u7edf\u624d\u80fd\u751f\u6548\uff0c\u662f\u5426\u91cd\u542f\uff1f");
    CProgram::Answer(*question, IDYES);
    EXPECT_TRUE(e2e::WaitFor([&] { return program.SystemLog().find("exit windows") != std::string::npos; }))
        << program.SystemLog();
    program.Kill();
}

TEST(AudioControls, RecordingPagesChooseTheSource) {
    CProgram program(TestName());
    OpenPanel(program);
    program.Click(program.Control(IDC_PAGE_LINEIN));
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("mixer.1.0.m.mux") == "0 0 0 1 0 0"; }))
        << program.Card("mixer.1.0.m.mux");
    EXPECT_TRUE(::IsWindowVisible(program.Control(IDC_FADER_REC_LINEIN_L)));
    EXPECT_FALSE(::IsWindowVisible(program.Control(IDC_FADER_REC_MIC)));
    program.Click(program.Control(IDC_PAGE_MIC));
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("mixer.1.0.m.mux") == "0 0 0 0 1 0"; }));
    EXPECT_TRUE(::IsWindowVisible(program.Control(IDC_FADER_REC_MIC)));
    program.Kill();
}

TEST(AudioControls, PanelDragsByItsSurface) {
    CProgram program(TestName());
    OpenPanel(program);
    RECT before{};
    ::GetWindowRect(program.Panel(), &before);
    // A point of the surface between the rate and speaker buttons.
    RECT rate{};
    ::GetWindowRect(program.Control(IDC_RATE_TEXT), &rate);
    const int x = rate.right + 4, y = rate.top - 6;
    ASSERT_EQ(::WindowFromPoint({x, y}), program.Panel());
    MouseTo(x, y);
    MouseButton(true);
    for (int step = 1; step <= 5; ++step) MouseTo(x + 8 * step, y + 6 * step);
    MouseButton(false);
    RECT after{};
    EXPECT_TRUE(e2e::WaitFor([&] {
        ::GetWindowRect(program.Panel(), &after);
        return after.left != before.left;
    }));
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
    program.Kill();
}

TEST(AudioControls, DraggingAThumbSetsTheVolume) {
    CProgram program(TestName());
    OpenPanel(program);
    const std::string before = program.Card("mixer.0.1.0.volume");
    // Front left: its thumb window lies over the trackbar's own thumb.
    HWND fader = program.Control(IDC_FADER_FRONT_L);
    HWND thumb = ::GetWindow(fader, GW_CHILD);
    ASSERT_NE(thumb, nullptr);
    // The thumb window goes over the trackbar's thumb when the panel first paints.
    RECT r{}, track{};
    ::GetWindowRect(fader, &track);
    ASSERT_TRUE(e2e::WaitFor([&] {
        ::GetWindowRect(thumb, &r);
        return r.top > track.top;
    }));
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    ASSERT_EQ(::WindowFromPoint({x, y}), thumb);
    MouseTo(x, y);
    MouseButton(true);
    for (int step = 1; step <= 4; ++step) MouseTo(x, y + 5 * step);
    MouseButton(false);
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("mixer.0.1.0.volume") != before; }))
        << "the drag did not reach the mixer: " << before;
    const std::wstring shown = program.Text(program.Control(IDC_EDIT_FRONT_L));
    EXPECT_LT(std::stoi(shown), 75);  // 49152 is position 75; the thumb went down
    program.Kill();
}

namespace {

// The slots of the eight-channel frames that carry sound in a WAVE file the
// card captured (16-bit samples).
std::vector<int> SoundingSlots(const std::string& path) {
    const std::string bytes = e2e::ReadBytes(path);
    auto word = [&](std::size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
                                             static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8; };
    auto dword = [&](std::size_t at) { return word(at) | word(at + 2) << 16; };
    std::vector<int> slots;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return slots;
    unsigned channels = 0, align = 0;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const std::size_t size = dword(at + 4);
        if (id == "fmt " && size >= 16) {
            channels = word(at + 10);
            align = word(at + 20);
        } else if (id == "data" && channels == 8 && align == 16) {
            const std::size_t end = std::min(bytes.size(), at + 8 + size);
            for (int slot = 0; slot < 8; ++slot) {
                for (std::size_t frame = at + 8; frame + align <= end; frame += align) {
                    if (word(frame + 2 * static_cast<std::size_t>(slot)) != 0) {
                        slots.push_back(slot);
                        break;
                    }
                }
            }
        }
        at += 8 + size + (size & 1);
    }
    return slots;
}

}  // namespace

TEST(AudioControls, LinkedMasterTakesTheTopOnBothSidesAndTheLinkOutlivesARestart) {
    CProgram program(TestName());
    OpenPanel(program);
    program.Click(program.Control(IDC_LINK_MASTER));  // link the master pair
    ASSERT_TRUE(program.Checked(IDC_LINK_MASTER));
    program.Click(program.Control(IDC_EDIT_MASTER_L));
    for (WORD key : {WORD(VK_END), WORD(VK_BACK), WORD(VK_BACK), WORD(VK_BACK), WORD('2'), WORD('5'), WORD('0')})
        program.PressKey(key);
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Text(program.Control(IDC_EDIT_MASTER_L)) == L"100"; }));
    // The other fader of a linked pair follows through the mixer: both thumbs at the top.
    for (int fader : {IDC_FADER_MASTER_L, IDC_FADER_MASTER_R})
        EXPECT_TRUE(e2e::WaitFor([&] { return ::SendMessageW(program.Control(fader), TBM_GETPOS, 0, 0) == 0; }))
            << fader << " at " << ::SendMessageW(program.Control(fader), TBM_GETPOS, 0, 0);
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("mixer.0.0.m.volume") == "65500 65500"; }))
        << program.Card("mixer.0.0.m.volume");
    e2e::ExitFromTray(program, IDYES);

    e2e::StartToTray(program);
    EXPECT_TRUE(program.Checked(IDC_LINK_MASTER)) << "the link was kept";
    program.Kill();
}

TEST(AudioControls, Ac3OnlyLeavesOnly48kHzAndPcmOnlyBringsTheRatesBack) {
    CProgram program(TestName());
    program.SetCard("sample_rate", "00 08");  // 44.1 kHz
    OpenPanel(program);
    ASSERT_TRUE(program.Checked(IDC_RATE_44K1));
    program.Click(program.Control(IDC_SPDIF_AC3));  // "AC3 Only (48KHz)"
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("spdif_out_word") == "01 00 01 00"; }))
        << program.Card("spdif_out_word");
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("sample_rate") == "00 00"; })) << program.Card("sample_rate");
    EXPECT_TRUE(program.Checked(IDC_RATE_48K));
    EXPECT_TRUE(::IsWindowEnabled(program.Control(IDC_RATE_48K)));
    for (int rate :
         {IDC_RATE_FLAG, IDC_RATE_32K, IDC_RATE_44K1, IDC_RATE_88K2, IDC_RATE_96K, IDC_RATE_176K4, IDC_RATE_192K})
        EXPECT_FALSE(::IsWindowEnabled(program.Control(rate))) << rate << " is still enabled";
    EXPECT_FALSE(program.CurrentMessageBox()) << "nothing plays: no message";

    program.Click(program.Control(IDC_SPDIF_PCM));  // "PCM Only"
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("spdif_out_word") == "01 00 02 00"; }))
        << program.Card("spdif_out_word");
    for (int rate : {IDC_RATE_FLAG, IDC_RATE_32K, IDC_RATE_44K1, IDC_RATE_48K, IDC_RATE_88K2, IDC_RATE_96K,
                     IDC_RATE_176K4, IDC_RATE_192K})
        EXPECT_TRUE(e2e::WaitFor([&] { return ::IsWindowEnabled(program.Control(rate)) != FALSE; }, 2000))
            << rate << " stays disabled";
    EXPECT_EQ(program.Card("sample_rate"), "00 00") << "PCM only leaves the rate alone";
    program.Kill();
}

TEST(AudioControls, SevenPointOneTestsEverySpeakerInItsOwnSlot) {
    CProgram program(TestName());
    const std::string capture = program.StateFile() + ".played.wav";
    program.SetCard("wave_play_ms", "20");
    program.SetCard("wave_capture", capture);
    OpenPanel(program);
    program.Click(program.Control(IDC_SPK_7_1));  // 7.1
    ASSERT_TRUE(e2e::WaitFor([&] { return program.Card("ds_speaker_config") == "7"; }))
        << program.Card("ds_speaker_config");
    ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(program.Control(IDC_TEST_EIGHTH)) != FALSE; }));
    const std::string routing = program.Card("speaker_mode");
    struct Speaker {
        int button;
        int slot;
    };
    for (const Speaker s : {Speaker{IDC_TEST_FRONT_L, 0}, Speaker{IDC_TEST_FRONT_R, 1}, Speaker{IDC_TEST_REAR_L, 4},
                            Speaker{IDC_TEST_REAR_R, 5}, Speaker{IDC_TEST_CENTER, 2}, Speaker{IDC_TEST_SUBWOOFER, 3},
                            Speaker{IDC_TEST_SEVENTH, 4}, Speaker{IDC_TEST_EIGHTH, 5}}) {
        ::DeleteFileA(capture.c_str());
        program.Click(program.Control(s.button));
        EXPECT_TRUE(e2e::WaitFor([&] { return SoundingSlots(capture) == std::vector<int>{s.slot}; }, 5000))
            << "button " << s.button << " sounded in " << ::testing::PrintToString(SoundingSlots(capture));
        EXPECT_FALSE(program.CurrentMessageBox()) << "button " << s.button;
        EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("speaker_mode") == routing; }, 2000))
            << "button " << s.button << " left the routing at " << program.Card("speaker_mode");
    }
    program.Click(program.Control(IDC_SPK_HEADPHONES));  // headphones
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("ds_speaker_config") == "1"; }));
    EXPECT_FALSE(::IsWindowVisible(program.Control(IDC_TEST_EIGHTH)));
    EXPECT_FALSE(::IsWindowVisible(program.Control(IDC_FADER_SURROUND_L)));
    program.Kill();
}
