// The virtual card itself: its state file, persistence and simulated driver.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "card_fixture.h"
#include "controls.h"
#include "device.h"
#include "engine.h"
#include "state_file.h"
#include "wire.h"

using namespace corra;

TEST(StateFileFormat, ParsesKeysValuesAndComments) {
    const auto values = vcard::CStateFile::Parse(
        "# comment\n  channels = 6 \r\nbroken line\n=novalue\nfault.short=0x1001:20\n");
    EXPECT_EQ(values.size(), 2u);
    EXPECT_EQ(values.at("channels"), "6");
    EXPECT_EQ(values.at("fault.short"), "0x1001:20");
    EXPECT_EQ(vcard::CStateFile::Parse(vcard::CStateFile::Format(values)), values);
    EXPECT_EQ(vcard::ParseNumber("0x100D", -1), 0x100D);
    EXPECT_EQ(vcard::ParseNumber("12a", -1), -1);
    // Hexadecimal items split at any white space; what is not one reads as 0,
    // a missing one as 0 too.
    const auto state = vcard::CStateFile::FromText("bytes = 0x1F \t-1\v7 zz 1FF\n");
    EXPECT_EQ(state.GetBytes("bytes", 6), (std::vector<std::uint8_t>{0x1F, 0xFF, 0x07, 0x00, 0xFF, 0x00}));
}

using VirtualCardTest = CardTest;

TEST_F(VirtualCardTest, WhatOneInstanceWritesTheNextOneReads) {
    OsHandle h = kNoHandle;
    ASSERT_TRUE(device::Open(card, &h));
    const std::uint8_t rate[2] = {0, 12};
    std::uint32_t count = 0;
    ASSERT_TRUE(controls::SetSR(card, h, rate, &count));
    device::Close(card, h);

    vcard::CVirtualCard second(m_path);
    ASSERT_TRUE(device::Open(second, &h));
    std::uint8_t back[2] = {};
    ASSERT_TRUE(controls::GetSR(second, h, back, &count));
    EXPECT_EQ(back[1], 12);
    // And the first instance sees the second one's change.
    const std::uint8_t other[2] = {0, 14};
    ASSERT_TRUE(controls::SetSR(second, h, other, &count));
    device::Close(second, h);
    EXPECT_EQ(card.Get("sample_rate"), "00 0E");
}

// The fuzz harness runs the card on a state held in memory: the card must
// answer from it as it answers from the same text in its file.
TEST_F(VirtualCardTest, ACardOnTextInMemoryAnswersAsOnThatFile) {
    const char* text = "channels = 6\nhardware_id =\nsample_rate = 00 08\nfault.short = 0x1001:20\n";
    {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    vcard::CVirtualCard onFile(m_path);
    vcard::CVirtualCard inMemory(vcard::CStateFile::FromText(text));
    for (const char* key : {"channels", "hardware_id", "sample_rate", "fault.short", "os_version"})
        EXPECT_EQ(inMemory.Get(key), onFile.Get(key)) << key;
    EXPECT_EQ(inMemory.Get("hardware_id"), "");  // an empty value is kept, not defaulted
    const auto memoryStatus = inMemory.DynamicStatus(), fileStatus = onFile.DynamicStatus();
    EXPECT_TRUE(std::equal(memoryStatus.begin() + 16, memoryStatus.end(), fileStatus.begin() + 16));
    inMemory.Set("channels", "4");
    EXPECT_EQ(inMemory.Get("channels"), "4");
    EXPECT_EQ(onFile.Get("channels"), "6");
}

// A benchmark of the program on the card must measure the program: an
// unchanged state file is not read again however often the card is asked,
// and a change another process writes is still seen on the next request.
TEST_F(VirtualCardTest, TheStateFileIsReadAgainOnlyWhenItChanged) {
    namespace fs = std::filesystem;
    fs::last_write_time(m_path, fs::file_time_type::clock::now() - std::chrono::hours(1));
    vcard::CStateFile other(m_path);
    const auto reads = other.Reads();
    for (int i = 0; i < 100; ++i) EXPECT_FALSE(other.Refresh());
    EXPECT_EQ(other.Reads(), reads);

    card.Set("channels", "6");
    EXPECT_TRUE(other.Refresh());
    EXPECT_EQ(other.Get("channels"), "6");
    // Written just now and of the same size: read, whatever the file clock says.
    card.Set("channels", "4");
    EXPECT_TRUE(other.Refresh());
    EXPECT_EQ(other.Get("channels"), "4");
}

// Stamps cut to whole seconds (the C runtime's on Windows): a change made in
// the same second as the one read carries its stamp, which may already lie
// more than a second back when the card next looks.
TEST_F(VirtualCardTest, AChangeUnderTheSameCoarseStampIsStillSeen) {
    namespace fs = std::filesystem;
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::milliseconds(1500);
    fs::last_write_time(m_path, stamp);
    vcard::CStateFile other(m_path);
    card.Set("channels", "6");  // the same size as the 8 it replaces
    fs::last_write_time(m_path, stamp);
    EXPECT_TRUE(other.Refresh());
    EXPECT_EQ(other.Get("channels"), "6");
}

TEST_F(VirtualCardTest, LevelsMoveWhilePlayingAndAreSilentOtherwise) {
    card.Set("channels", "6");
    auto status = card.DynamicStatus();
    int nonZero = 0;
    for (int ch = 0; ch < 6; ++ch) nonZero += status[static_cast<std::size_t>(ch)] != 0;
    EXPECT_GT(nonZero, 0);
    EXPECT_EQ(status[6], 0);  // a six-channel card has no seventh output
    EXPECT_EQ(status[7], 0);
    card.Set("playing", "0");
    status = card.DynamicStatus();
    for (int i = 0; i < 12; ++i) EXPECT_EQ(status[static_cast<std::size_t>(i)], 0);
}

TEST_F(VirtualCardTest, TheDriverVanishesAfterTheGivenNumberOfRequests) {
    OsHandle h = kNoHandle;
    ASSERT_TRUE(device::Open(card, &h));
    card.Set("fault.vanish_after", "2");
    std::uint8_t rate[2];
    std::uint32_t count = 0;
    EXPECT_TRUE(controls::GetSR(card, h, rate, &count));
    EXPECT_TRUE(controls::GetSR(card, h, rate, &count));
    EXPECT_FALSE(controls::GetSR(card, h, rate, &count));
    device::Close(card, h);
    OsHandle again = kNoHandle;
    EXPECT_FALSE(device::Open(card, &again));
    ExpectNothingHeld();
}

TEST_F(VirtualCardTest, AReloadPutsTheSettingsBackAndTheCardIsAwayForItsTime) {
    card.Set("channels", "6");
    card.Set("sample_rate", "01 08");
    card.Set("spdif_out_word", "01 00 01 00");
    card.Set("ds_speaker_config", "6");
    card.Set("qs.intensity", "10 00 00 00");
    card.Set("mixer.0.0.0.volume", "100 200");
    {
        // Another process asks for it; this card sees it at its next request.
        vcard::CVirtualCard other(m_path);
        other.Set("fault.reload", "600000");
    }
    OsHandle h = kNoHandle;
    EXPECT_FALSE(device::Open(card, &h)) << "away while the driver reloads";
    std::uint32_t config = 0;
    EXPECT_FALSE(card.GetDsSpeakerConfig(&config));
    vcard::CVirtualEngine engine(card);
    DsObject ds = 0;
    EXPECT_NE(engine.Create(nullptr, &ds), kSOk) << "and DirectSound with it";
    EXPECT_EQ(card.Get("sample_rate"), "00 00");
    EXPECT_EQ(card.Get("spdif_out_word"), "01 00 02 00");
    EXPECT_EQ(card.Get("ds_speaker_config"), "4");
    EXPECT_EQ(card.Get("qs.intensity"), "") << "the engine's own default";
    EXPECT_EQ(card.Get("mixer.0.0.0.volume"), "100 200") << "the mixer keeps its values";
    EXPECT_EQ(card.Get("channels"), "6") << "what the card is stays";
    EXPECT_EQ(card.Get("fault.reload"), "") << "one reload for one key";

    card.Set("fault.reloading_until", "1");  // its time is over
    ASSERT_TRUE(device::Open(card, &h));
    device::Close(card, h);
    EXPECT_TRUE(card.GetDsSpeakerConfig(&config));
    ExpectNothingHeld();
}

TEST_F(VirtualCardTest, RefusesBadRequestsLikeADriver) {
    OsHandle h = kNoHandle;
    ASSERT_TRUE(device::Open(card, &h));
    std::uint8_t data[36] = {};
    std::uint32_t returned = 0;
    auto header = wire::BuildHeader(0x100A, wire::kGet);  // set-only property
    EXPECT_FALSE(card.Ioctl(h, wire::kIoctlKsProperty, header.data(), 24, data, 16, &returned));
    header = wire::BuildHeader(0x1001, wire::kGet);
    EXPECT_FALSE(card.Ioctl(h, wire::kIoctlKsProperty, header.data(), 24, data, 23, &returned));
    EXPECT_FALSE(card.Ioctl(h, 0x2F0007, header.data(), 24, data, 24, &returned));
    header = wire::BuildHeader(0x1003, wire::kGet);
    EXPECT_FALSE(card.Ioctl(h, wire::kIoctlKsProperty, header.data(), 24, data, 36, &returned));
    const std::uint8_t badRate[2] = {0, 3};
    EXPECT_FALSE(controls::SetSR(card, h, badRate, &returned));
    device::Close(card, h);
    device::Close(card, h);
    EXPECT_EQ(card.BadCloses(), 1);
}
