// What the library's records mean to a caller (CorrantRecords.h): the byte
// positions and bits that are easy to get wrong.
#include <gtest/gtest.h>

#include "CorrantRecords.h"

TEST(Records, SampleRateAndSpdifWord) {
    EXPECT_EQ(corra::MakeRateRecord(true, 8), (corra::RateRecord{1, 8}));
    // Mode in bytes 2-3, little-endian; byte 1 left 0.
    EXPECT_EQ(corra::MakeSpdifWord(true, 0x0102), (corra::SpdifWord{1, 0, 2, 1}));
    const corra::SpdifState s = corra::ParseSpdifWord({0, 7, 3, 0});
    EXPECT_FALSE(s.enabled);
    EXPECT_EQ(s.mode, 3);
    EXPECT_EQ(corra::RateOfName("44.1")->code, CORRA_RATE_44K1);
    EXPECT_EQ(corra::RateOfCode(CORRA_RATE_48K)->kHz, "48");
    EXPECT_FALSE(corra::RateOfCode(5));
}

TEST(Records, CapabilityBitsAndChannelCount) {
    corra::CapabilityRecord cap{};
    EXPECT_FALSE(corra::HasSpdifOut(cap));
    EXPECT_EQ(corra::ChannelCount(cap), 0);
    cap[7] = 0x04;  // 0x0400 of the word at 6
    EXPECT_TRUE(corra::HasSpdifOut(cap));
    cap[11] = 0x10;  // 0x10000000 of the dword at 8
    EXPECT_TRUE(corra::HasExpander(cap));
    // The highest channel bit counts, whatever lower ones are set.
    cap[7] |= 0x10 | 0x40;  // 2 and 6 channels
    EXPECT_EQ(corra::ChannelCount(cap), 6);
    cap[7] |= 0x80;
    EXPECT_EQ(corra::ChannelCount(cap), 8);
}

TEST(Records, DynamicStatusFields) {
    corra::StatusRecord status{};
    status[3] = 200;
    status[11] = 77;
    status[16] = 0x44;  // 44100 = 0xAC44
    status[17] = 0xAC;
    EXPECT_EQ(corra::OutputLevel(status, 3), 200);
    EXPECT_EQ(corra::RecordingLevel(status), 77);
    EXPECT_EQ(corra::RunningRate(status), 44100u);
}
