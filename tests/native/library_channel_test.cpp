// The wire format and the request routines' copy and count rules.
#include <array>
#include <cstring>

#include "card_fixture.h"
#include "channel.h"
#include "controls.h"
#include "device.h"
#include "wire.h"

using namespace corra;

namespace {

// Records the request and answers with a fixed byte pattern and count.
class ScriptedDriver final : public IDevicePlatform {
public:
    std::uint32_t code = 0, inSize = 0, outSize = 0, answerCount = 0;
    bool succeed = true;
    std::array<std::uint8_t, 24> header{};
    std::array<std::uint8_t, 64> sent{};

    bool Ioctl(OsHandle, std::uint32_t c, const void* in, std::uint32_t is, void* out,
               std::uint32_t os, std::uint32_t* returned) override {
        code = c;
        inSize = is;
        outSize = os;
        std::memcpy(header.data(), in, std::min<std::uint32_t>(is, 24));
        std::memcpy(sent.data(), out, os);
        for (std::uint32_t i = 0; i < os; ++i) static_cast<std::uint8_t*>(out)[i] = static_cast<std::uint8_t>(0xA0 + i);
        *returned = answerCount;
        return succeed;
    }
    DevList GetPciDevices(bool) override { return kNoList; }
    DevList GetTopologyInterfaces(const char*) override { return kNoList; }
    void DestroyList(DevList) override {}
    bool EnumDevice(DevList, std::uint32_t, DevInfo&) override { return false; }
    bool GetDeviceProperty(DevList, const DevInfo&, DeviceProperty, char*, std::uint32_t) override { return false; }
    Query GetInstanceId(DevList, const DevInfo&, char*, std::uint32_t, std::uint32_t*) override { return Query::Failed; }
    bool EnumInterface(DevList, std::uint32_t, InterfaceInfo&) override { return false; }
    Query GetInterfaceDetail(DevList, const InterfaceInfo&, void*, std::uint32_t, std::uint32_t*) override { return Query::Failed; }
    OsHandle OpenDriver(const char*) override { return kInvalidHandle; }
    void CloseDriver(OsHandle) override {}
    bool GetVersion(OsVersion&) override { return false; }
    bool GetDsSpeakerConfig(std::uint32_t*) override { return false; }
    bool SetDsSpeakerConfig(std::uint32_t) override { return false; }
};

}  // namespace

TEST(WireHeader, HoldsTheControlSetTheIdAndTheDirection) {
    const auto h = wire::BuildHeader(0x100D, wire::kSet);
    const std::uint8_t guid[16] = {0x2A, 0xC3, 0x52, 0x1B, 0x3E, 0xDF, 0x63, 0x4D,
                                   0xAF, 0x21, 0x68, 0x86, 0x93, 0x74, 0x48, 0x2E};
    EXPECT_EQ(std::memcmp(h.data(), guid, 16), 0);
    EXPECT_EQ(wire::Dword(h.data() + 16), 0x100Du);
    EXPECT_EQ(wire::Dword(h.data() + 20), 2u);
    std::uint32_t id = 0, flags = 0;
    ASSERT_TRUE(wire::ParseHeader(h.data(), 24, id, flags));
    EXPECT_EQ(id, 0x100Du);
    EXPECT_FALSE(wire::ParseHeader(h.data(), 23, id, flags));
    auto other = h;
    other[3] ^= 1;
    EXPECT_FALSE(wire::ParseHeader(other.data(), 24, id, flags));
}

TEST(WireTable, SizesAndDirections) {
    struct Row { std::uint32_t id; bool get, set; std::uint32_t size; };
    const Row rows[] = {{0x1001, true, false, 24}, {0x1002, true, false, 36}, {0x1004, true, true, 6},
                        {0x1005, true, true, 2},   {0x1006, true, true, 4},   {0x1007, true, true, 4},
                        {0x100A, false, true, 16}, {0x100B, true, true, 14},  {0x100C, true, true, 6},
                        {0x100D, true, true, 2},   {0x100F, true, true, 4},   {0x1010, true, false, 2},
                        {0x1011, true, true, 3},   {0x1012, true, true, 2},   {0x1013, true, true, 12},
                        {0x1014, true, false, 6}};
    for (const Row& r : rows) {
        const auto* p = wire::FindProperty(r.id);
        ASSERT_NE(p, nullptr) << std::hex << r.id;
        EXPECT_EQ(p->get, r.get);
        EXPECT_EQ(p->set, r.set);
        EXPECT_EQ(p->size, r.size);
    }
    for (std::uint32_t unused : {0x1003u, 0x1008u, 0x1009u, 0x100Eu, 0x1000u, 0x1015u})
        EXPECT_EQ(wire::FindProperty(unused), nullptr);
}

TEST(Request, SendsTheKsPropertyIoctlWithTheTablesSize) {
    ScriptedDriver driver;
    driver.answerCount = 2;
    std::uint8_t rate[2] = {1, 8};
    std::uint32_t count = 0;
    ASSERT_TRUE(channel::Set(driver, 5, wire::kSampleRate, rate, 2, &count));
    EXPECT_EQ(driver.code, 0x2F0003u);
    EXPECT_EQ(driver.inSize, 24u);
    EXPECT_EQ(driver.outSize, 2u);
    EXPECT_EQ(wire::Dword(driver.header.data() + 16), 0x100Du);
    EXPECT_EQ(wire::Dword(driver.header.data() + 20), 2u);
    EXPECT_EQ(driver.sent[0], 1);
    EXPECT_EQ(driver.sent[1], 8);
    EXPECT_EQ(count, 2u);
}

TEST(Request, GetCopyRules) {
    ScriptedDriver driver;
    // 24-byte property with a short count: only the reported bytes reach the caller.
    driver.answerCount = 20;
    std::uint8_t cap[24];
    std::memset(cap, 0x11, sizeof cap);
    std::uint32_t count = 0;
    ASSERT_TRUE(channel::Get(driver, 5, wire::kCapability, cap, 0, 24, channel::Copy::UpToCount, &count));
    EXPECT_EQ(cap[19], 0xA0 + 19);
    EXPECT_EQ(cap[20], 0x11);
    EXPECT_EQ(count, 20u);

    // A fixed-width property copies its width whatever the count says.
    driver.answerCount = 1;
    std::uint8_t word[2] = {0, 0};
    ASSERT_TRUE(channel::Get(driver, 5, wire::kHisr, word, 0, 2, channel::Copy::Fixed, &count));
    EXPECT_EQ(word[1], 0xA1);
    EXPECT_EQ(count, 1u);

    // A failed request touches neither the data nor the count.
    driver.succeed = false;
    std::memset(cap, 0x22, sizeof cap);
    count = 99;
    EXPECT_FALSE(channel::Get(driver, 5, wire::kCapability, cap, 0, 24, channel::Copy::UpToCount, &count));
    EXPECT_EQ(cap[0], 0x22);
    EXPECT_EQ(count, 99u);
}

TEST(Request, SpdifDetailComesFromOffset20AndNoFurtherThanTheCount) {
    ScriptedDriver driver;
    driver.answerCount = 36;
    std::uint8_t detail[16];
    std::uint32_t count = 0;
    ASSERT_TRUE(controls::GetSPDIFOUTDetail(driver, 5, detail, &count));
    EXPECT_EQ(driver.outSize, 36u);
    EXPECT_EQ(detail[0], 0xA0 + 20);
    EXPECT_EQ(detail[15], 0xA0 + 35);

    driver.answerCount = 26;
    std::memset(detail, 0x33, sizeof detail);
    ASSERT_TRUE(controls::GetSPDIFOUTDetail(driver, 5, detail, &count));
    EXPECT_EQ(detail[5], 0xA0 + 25);
    EXPECT_EQ(detail[6], 0x33);
}

TEST(Request, DisableEventTravelsAsTheFirstWordOfTwelveBytes) {
    ScriptedDriver driver;
    driver.answerCount = 12;
    const std::uint32_t value = 0x01020304;
    std::uint32_t count = 0;
    ASSERT_TRUE(controls::SetDisableEvent(driver, 5, &value, &count));
    EXPECT_EQ(driver.outSize, 12u);
    EXPECT_EQ(wire::Dword(driver.sent.data()), value);
    for (int i = 4; i < 12; ++i) EXPECT_EQ(driver.sent[static_cast<std::size_t>(i)], 0);

    std::uint8_t out[8];
    std::memset(out, 0x44, sizeof out);
    count = 1234;
    ASSERT_TRUE(controls::GetDisableEvent(driver, 5, out, &count));
    EXPECT_EQ(out[0], 0xA0);
    EXPECT_EQ(out[3], 0xA3);
    EXPECT_EQ(out[4], 0x44);  // only the first word comes back
    EXPECT_EQ(count, 1234u);  // and the count is left alone
}

TEST(Request, GpioGetSendsBytes135AndReturnsAllSix) {
    ScriptedDriver driver;
    driver.answerCount = 6;
    std::uint8_t gpio[6] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15};
    std::uint32_t count = 0;
    ASSERT_TRUE(controls::GetGPIO(driver, 5, gpio, &count));
    EXPECT_EQ(driver.sent[0], 0);
    EXPECT_EQ(driver.sent[1], 0x11);
    EXPECT_EQ(driver.sent[2], 0);
    EXPECT_EQ(driver.sent[3], 0x13);
    EXPECT_EQ(driver.sent[5], 0x15);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(gpio[i], 0xA0 + i);
}

TEST(Request, SetsNeverHandTheDriverTheCallersMemory) {
    ScriptedDriver driver;
    driver.answerCount = 14;
    std::uint8_t in[14];
    std::memset(in, 0x5A, sizeof in);
    ASSERT_TRUE(controls::SetSPDIFIN(driver, 5, in, nullptr));
    EXPECT_EQ(in[0], 0x5A);  // the driver scribbled on the library's copy only
    EXPECT_EQ(driver.sent[13], 0x5A);
}

using NullHandle = CardTest;

TEST_F(NullHandle, GetsFailWithoutTouchingTheCallersData) {
    std::uint8_t rate[2] = {0x77, 0x77};
    std::uint32_t count = 55;
    EXPECT_FALSE(controls::GetSR(card, kNoHandle, rate, &count));
    EXPECT_EQ(rate[0], 0x77);
    EXPECT_EQ(count, 55u);
    std::uint8_t cap[24];
    std::memset(cap, 0x66, sizeof cap);
    EXPECT_FALSE(controls::GetCap(card, kNoHandle, cap, &count));
    EXPECT_EQ(cap[12], 0x66);
}
