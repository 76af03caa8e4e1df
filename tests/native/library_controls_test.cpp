// The exported device controls against the virtual card.
#include <cstring>

#include "card_fixture.h"
#include "controls.h"
#include "device.h"
#include "wire.h"

using namespace corra;

class Controls : public CardTest {
protected:
    void SetUp() override { ASSERT_TRUE(device::Open(card, &h)); }
    void TearDown() override {
        device::Close(card, h);
        ExpectNothingHeld();
    }
    std::uint32_t LastRequestId() { return card.LastRequest().id; }
    std::uint64_t Requests() { return card.Requests(); }
    OsHandle h = kNoHandle;
};

TEST_F(Controls, CapabilityReshapingAndCount) {
    std::uint8_t cap[24];
    std::memset(cap, 0x5C, sizeof cap);
    std::uint32_t count = 0;
    ASSERT_TRUE(controls::GetCap(card, h, cap, &count));
    EXPECT_EQ(count, 24u);
    EXPECT_EQ(wire::Dword(cap), 0x17241412u);
    EXPECT_EQ(wire::Word(cap + 6) & 0x8400, 0x8400);  // eight channels, S/PDIF out
    EXPECT_EQ(wire::Dword(cap + 8), 0x10000000u);
    EXPECT_EQ(cap[16], 0x20);  // driver byte 12
    EXPECT_EQ(cap[20], 7);     // driver byte 16
    EXPECT_EQ(wire::Dword(cap + 12), 0x80000000u);
    EXPECT_EQ(cap[22], 0);     // driver byte 18
    EXPECT_EQ(cap[23], 0x5C);  // never written; driver bytes 19-23 are not passed on
}

TEST_F(Controls, CapabilityFlagBitKeepsTheDriversCount) {
    card.Set("fault.short", "0x1001:20");
    std::uint8_t cap[24];
    std::memset(cap, 0x5C, sizeof cap);
    std::uint32_t count = 0x08000000;
    ASSERT_TRUE(controls::GetCap(card, h, cap, &count));
    EXPECT_EQ(count, 20u);
    count = 0;
    ASSERT_TRUE(controls::GetCap(card, h, cap, &count));
    EXPECT_EQ(count, 24u);
}

TEST_F(Controls, CapabilityOffset12FollowsDriverByte16) {
    for (auto [byte16, expected] : {std::pair{6, 0x80000000u}, {7, 0x80000000u}, {5, 0u}, {0, 0u}, {8, 0u}}) {
        card.Set("cap.byte16", std::to_string(byte16));
        std::uint8_t cap[24] = {};
        std::uint32_t count = 0;
        ASSERT_TRUE(controls::GetCap(card, h, cap, &count));
        EXPECT_EQ(wire::Dword(cap + 12), expected) << byte16;
    }
}

TEST_F(Controls, ChannelCountBitsFollowTheCardsConfiguration) {
    for (auto [channels, bit] : {std::pair{2, 0x1000}, {4, 0x2000}, {6, 0x4000}, {8, 0x8000}}) {
        card.Set("channels", std::to_string(channels));
        std::uint8_t cap[24] = {};
        std::uint32_t count = 0;
        ASSERT_TRUE(controls::GetCap(card, h, cap, &count));
        EXPECT_EQ(wire::Word(cap + 6) & 0xF000, bit);
    }
}

TEST_F(Controls, SampleRateWriteReadsFirstAndShowsInTheDynamicStatus) {
    card.Set("spdif_out_word", "01 00 02 00");  // PCM only: the rate is free
    const std::uint8_t rate[2] = {1, 8};
    std::uint32_t count = 0;
    const auto before = Requests();
    ASSERT_TRUE(controls::SetSR(card, h, rate, &count));
    EXPECT_EQ(Requests() - before, 2u);
    EXPECT_EQ(count, 2u);
    std::uint8_t back[2] = {};
    ASSERT_TRUE(controls::GetSR(card, h, back, &count));
    EXPECT_EQ(back[0], 1);
    EXPECT_EQ(back[1], 8);
    std::uint8_t status[20] = {};
    ASSERT_TRUE(controls::GetDynamicInfo(card, h, status, &count));
    EXPECT_EQ(wire::Dword(status + 16), 44100u);
}

TEST_F(Controls, SampleRateWriteIsNotSentWhenTheReadFails) {
    card.Set("sample_rate", "00 07");
    card.Set("fault.property", "0x100D");
    const std::uint8_t rate[2] = {0, 8};
    std::uint32_t count = 0;
    const auto before = Requests();
    EXPECT_FALSE(controls::SetSR(card, h, rate, &count));
    EXPECT_EQ(Requests() - before, 1u);
    card.Set("fault.property", "");
    EXPECT_EQ(card.Get("sample_rate"), "00 07");
}

TEST_F(Controls, Ac3ModesHoldTheCardAt48k) {
    std::uint32_t count = 0;
    const std::uint8_t ac3[4] = {1, 0, 1, 0};
    ASSERT_TRUE(controls::SetSPDIFOUT(card, h, ac3, &count));
    const std::uint8_t rate[2] = {0, 7};
    ASSERT_TRUE(controls::SetSR(card, h, rate, &count));
    std::uint8_t status[20] = {};
    ASSERT_TRUE(controls::GetDynamicInfo(card, h, status, &count));
    EXPECT_EQ(wire::Dword(status + 16), 48000u);
    const std::uint8_t pcm[4] = {1, 0, 2, 0};
    ASSERT_TRUE(controls::SetSPDIFOUT(card, h, pcm, &count));
    ASSERT_TRUE(controls::GetDynamicInfo(card, h, status, &count));
    EXPECT_EQ(wire::Dword(status + 16), 96000u);
}

TEST_F(Controls, Audio3DGetReshapesTheDriverRecord) {
    card.Set("audio3d", "00 00 00 09 05 00");
    std::uint8_t pair[2] = {};
    std::uint32_t count = 0;
    ASSERT_TRUE(controls::GetAudio3D(card, h, pair, &count));
    EXPECT_EQ(pair[0], 9);
    EXPECT_EQ(pair[1], 1);  // any non-zero flag byte reads as 1
    EXPECT_EQ(count, 6u);
}

TEST_F(Controls, Audio3DSetChangesOnlyTheFlagByte) {
    card.Set("audio3d", "0A 0B 0C 05 00 0F");
    const std::uint8_t pair[2] = {9, 1};
    std::uint32_t count = 0;
    ASSERT_TRUE(controls::SetAudio3D(card, h, pair, &count));
    EXPECT_EQ(card.Get("audio3d"), "0A 0B 0C 05 01 0F");
    EXPECT_EQ(count, 6u);
}

TEST_F(Controls, Audio3DSetWritesNothingWhenTheReadFails) {
    card.Set("audio3d", "00 00 00 05 00 00");
    card.Set("fault.property", "0x1004");
    const std::uint8_t pair[2] = {0, 1};
    std::uint32_t count = 0x80000000;
    const auto before = Requests();
    EXPECT_FALSE(controls::SetAudio3D(card, h, pair, &count));
    EXPECT_EQ(Requests() - before, 1u);
    EXPECT_EQ(count, 0x80000000u);
}

TEST_F(Controls, ExpanderIsRefusedByACardWithoutOne) {
    const std::uint32_t on = 1;
    std::uint32_t count = 0;
    ASSERT_TRUE(controls::SetExpander(card, h, &on, &count));
    std::uint32_t back = 0;
    ASSERT_TRUE(controls::GetExpander(card, h, &back, &count));
    EXPECT_EQ(back, 1u);
    card.Set("expander", "0");
    EXPECT_FALSE(controls::SetExpander(card, h, &on, &count));
}

TEST_F(Controls, PlainMembersRoundTripThroughTheCard) {
    std::uint32_t count = 0;
    const std::uint16_t downmix = 0x0102;
    ASSERT_TRUE(controls::SetDownMix(card, h, &downmix, &count));
    std::uint16_t word = 0;
    ASSERT_TRUE(controls::GetDownMix(card, h, &word, &count));
    EXPECT_EQ(word, downmix);
    const std::uint32_t smart = 0x00010001;
    ASSERT_TRUE(controls::SetSmart51(card, h, &smart, &count));
    std::uint32_t dword = 0;
    ASSERT_TRUE(controls::GetSmart51(card, h, &dword, &count));
    EXPECT_EQ(dword, smart);
    const std::uint16_t hisr = 0x0300;
    ASSERT_TRUE(controls::SetHISR(card, h, &hisr, &count));
    ASSERT_TRUE(controls::GetHISR(card, h, &word, &count));
    EXPECT_EQ(word, hisr);
    const std::uint8_t detail[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    ASSERT_TRUE(controls::SetSPDIFOUTDetail(card, h, detail, &count));
    std::uint8_t back[16] = {};
    ASSERT_TRUE(controls::GetSPDIFOUTDetail(card, h, back, &count));
    EXPECT_EQ(std::memcmp(back, detail, 16), 0);
    EXPECT_FALSE(controls::GetDMAStatus(card, kNoHandle, &word, &count));
    ASSERT_TRUE(controls::GetDMAStatus(card, h, &word, &count));
    EXPECT_EQ(count, 2u);
}

TEST_F(Controls, SpeakerPairRefusesTheInvalidHandleWithoutARequest) {
    const auto before = Requests();
    std::uint32_t config = 99;
    EXPECT_FALSE(controls::GetCurrentSpeakerConfig(card, kInvalidHandle, &config));
    EXPECT_FALSE(controls::SetCurrentSpeakerConfig(card, kInvalidHandle, 6));
    EXPECT_EQ(Requests(), before);
    EXPECT_EQ(config, 99u);
}

TEST_F(Controls, GetSpeakerConfigReports71WhileTheDriverProvidesIt) {
    card.Set("ds_speaker_config", "4");
    card.Set("speaker_mode", "01 00 00");
    std::uint32_t config = 0;
    ASSERT_TRUE(controls::GetCurrentSpeakerConfig(card, h, &config));
    EXPECT_EQ(config, 7u);
    card.Set("speaker_mode", "00 01 01");
    ASSERT_TRUE(controls::GetCurrentSpeakerConfig(card, h, &config));
    EXPECT_EQ(config, 4u);
    card.Set("fault.ds_absent", "1");
    config = 55;
    EXPECT_FALSE(controls::GetCurrentSpeakerConfig(card, h, &config));
    EXPECT_EQ(config, 55u);
}

TEST_F(Controls, SetSpeaker71OnXpGoesThroughDirectSound) {
    card.Set("os_version", "5.1");
    card.Set("speaker_mode", "01 01 00");
    ASSERT_TRUE(controls::SetCurrentSpeakerConfig(card, h, 7));
    EXPECT_EQ(card.Get("speaker_mode"), "00 00 00");
    EXPECT_EQ(card.Get("ds_speaker_config"), "7");
}

TEST_F(Controls, SetSpeaker71On2000LeavesDirectSoundAlone) {
    for (const char* os : {"5.0", "4.10", "4.90"}) {
        card.Set("os_version", os);
        card.Set("ds_speaker_config", "4");
        card.Set("speaker_mode", "00 00 00");
        ASSERT_TRUE(controls::SetCurrentSpeakerConfig(card, h, 7)) << os;
        EXPECT_EQ(card.Get("speaker_mode"), "01 01 00");
        EXPECT_EQ(card.Get("ds_speaker_config"), "4");
    }
    card.Set("fault.property", "0x1011");
    EXPECT_FALSE(controls::SetCurrentSpeakerConfig(card, h, 7));
}

TEST_F(Controls, SetOtherSpeakerConfigsResetTheDriverModeFirst) {
    card.Set("os_version", "5.0");
    card.Set("speaker_mode", "01 01 00");
    ASSERT_TRUE(controls::SetCurrentSpeakerConfig(card, h, 6));
    EXPECT_EQ(card.Get("speaker_mode"), "00 00 00");
    EXPECT_EQ(card.Get("ds_speaker_config"), "6");
    card.Set("fault.property", "0x1011");
    card.Set("ds_speaker_config", "4");
    EXPECT_FALSE(controls::SetCurrentSpeakerConfig(card, h, 3));
    EXPECT_EQ(card.Get("ds_speaker_config"), "4");
}
