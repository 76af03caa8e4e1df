// Finding the card and opening its driver, against the virtual card.
#include <cstring>
#include <string>

#include "card_fixture.h"
#include "device.h"
#include "engine.h"
#include "qsound.h"
#include "wire.h"

using namespace corra;

namespace {

// Answers like the virtual card but lets a test break one enumeration step.
class BreakingPlatform final : public IDevicePlatform {
public:
    enum class Break { None, InstanceSizeOk, InstanceSizeZero, InstanceSecond, NoInterface,
                       DetailSizeOk, DetailSecond, ListCreation };
    BreakingPlatform(vcard::CVirtualCard& card, Break what) : m_card(card), m_break(what) {}

    DevList GetPciDevices(bool p) override {
        return m_break == Break::ListCreation ? kNoList : m_card.GetPciDevices(p);
    }
    DevList GetTopologyInterfaces(const char* id) override { return m_card.GetTopologyInterfaces(id); }
    void DestroyList(DevList l) override { m_card.DestroyList(l); }
    bool EnumDevice(DevList l, std::uint32_t i, DevInfo& d) override { return m_card.EnumDevice(l, i, d); }
    bool GetDeviceProperty(DevList l, const DevInfo& d, DeviceProperty w, char* b,
                           std::uint32_t s) override {
        return m_card.GetDeviceProperty(l, d, w, b, s);
    }
    Query GetInstanceId(DevList l, const DevInfo& d, char* b, std::uint32_t s,
                        std::uint32_t* r) override {
        const Query q = m_card.GetInstanceId(l, d, b, s, r);
        if (b == nullptr && m_break == Break::InstanceSizeOk) return Query::Ok;
        if (b == nullptr && m_break == Break::InstanceSizeZero) { *r = 0; return q; }
        if (b != nullptr && m_break == Break::InstanceSecond) return Query::Failed;
        return q;
    }
    bool EnumInterface(DevList l, std::uint32_t i, InterfaceInfo& f) override {
        return m_break != Break::NoInterface && m_card.EnumInterface(l, i, f);
    }
    Query GetInterfaceDetail(DevList l, const InterfaceInfo& f, void* d, std::uint32_t s,
                             std::uint32_t* r) override {
        const Query q = m_card.GetInterfaceDetail(l, f, d, s, r);
        if (d == nullptr && m_break == Break::DetailSizeOk) return Query::Ok;
        if (d != nullptr && m_break == Break::DetailSecond) return Query::Failed;
        return q;
    }
    OsHandle OpenDriver(const char* p) override { return m_card.OpenDriver(p); }
    void CloseDriver(OsHandle h) override { m_card.CloseDriver(h); }
    bool Ioctl(OsHandle h, std::uint32_t c, const void* i, std::uint32_t is, void* o,
               std::uint32_t os, std::uint32_t* r) override {
        return m_card.Ioctl(h, c, i, is, o, os, r);
    }
    bool GetVersion(OsVersion& v) override { return m_card.GetVersion(v); }
    bool GetDsSpeakerConfig(std::uint32_t* c) override { return m_card.GetDsSpeakerConfig(c); }
    bool SetDsSpeakerConfig(std::uint32_t c) override { return m_card.SetDsSpeakerConfig(c); }

private:
    vcard::CVirtualCard& m_card;
    Break m_break;
};

}  // namespace

TEST(HardwareIdMatch, ComparesExactlyTheFirst21CharactersCaseSensitively) {
    EXPECT_TRUE(device::IsCardHardwareId("PCI\\VEN_1412&DEV_1724"));
    EXPECT_TRUE(device::IsCardHardwareId("PCI\\VEN_1412&DEV_1724&SUBSYS_17241412&REV_01"));
    EXPECT_FALSE(device::IsCardHardwareId("pci\\ven_1412&dev_1724&subsys_17241412"));
    EXPECT_FALSE(device::IsCardHardwareId("PCI\\VEN_1412&DEV_172"));
    EXPECT_FALSE(device::IsCardHardwareId("PCI\\VEN_1412&DEV_1725"));
    EXPECT_FALSE(device::IsCardHardwareId(""));
    EXPECT_FALSE(device::IsCardHardwareId(nullptr));
}

TEST(OsCode, FollowsTheVersionTable) {
    struct Row { std::uint32_t major, minor; std::int32_t code; };
    const Row rows[] = {{3, 0, 1},  {3, 51, 1}, {4, 0, 3},  {4, 10, 4}, {4, 90, 5},
                        {5, 0, 6},  {5, 1, 7},  {5, 2, 8},  {4, 1, 0},  {5, 3, 0},
                        {6, 0, 0},  {6, 1, 0},  {10, 0, 0}, {2, 0, 0}};
    for (const Row& r : rows)
        EXPECT_EQ(device::OsCodeFor({r.major, r.minor}), r.code) << r.major << "." << r.minor;
}

using Open = CardTest;

TEST_F(Open, FindsTheCardAndReleasesEverythingOnClose) {
    OsHandle h = 12345;
    ASSERT_TRUE(device::Open(card, &h));
    EXPECT_NE(h, kNoHandle);
    EXPECT_NE(h, kInvalidHandle);
    EXPECT_EQ(card.OpenDriverHandles(), 1);
    EXPECT_EQ(card.OpenLists(), 0);
    device::Close(card, h);
    ExpectNothingHeld();
}

TEST_F(Open, TwoConnectionsAtOnceAndInSuccession) {
    OsHandle a = kNoHandle, b = kNoHandle;
    ASSERT_TRUE(device::Open(card, &a));
    ASSERT_TRUE(device::Open(card, &b));
    EXPECT_NE(a, b);
    device::Close(card, a);
    device::Close(card, b);
    ASSERT_TRUE(device::Open(card, &a));
    device::Close(card, a);
    ExpectNothingHeld();
}

TEST_F(Open, EveryFailureStoresTheNullHandleAndHoldsNothing) {
    const char* faults[] = {"fault.no_card", "fault.hwid_case", "fault.open_refused",
                            "fault.no_interface", "fault.instance_id", "fault.vanished"};
    for (const char* fault : faults) {
        card.Reset();
        card.Set(fault, "1");
        OsHandle h = 777;
        EXPECT_FALSE(device::Open(card, &h)) << fault;
        EXPECT_EQ(h, kNoHandle) << fault;
        ExpectNothingHeld();
    }
}

TEST_F(Open, FailuresOfEachEnumerationStepReleaseTheirLists) {
    using B = BreakingPlatform::Break;
    for (B what : {B::InstanceSizeOk, B::InstanceSizeZero, B::InstanceSecond, B::NoInterface,
                   B::DetailSizeOk, B::DetailSecond, B::ListCreation}) {
        BreakingPlatform platform(card, what);
        OsHandle h = 777;
        EXPECT_FALSE(device::Open(platform, &h)) << static_cast<int>(what);
        EXPECT_EQ(h, kNoHandle);
        ExpectNothingHeld();
    }
}

// The card writes down on its own what the driver and SetupAPI expect; the
// library's tables must agree with it row by row, or the card refuses.
TEST(DriverFacts, TheLibraryAndTheCardAgree) {
    int rows = 0;
    for (std::uint32_t id = 0x1000; id <= 0x1020; ++id) {
        const wire::PropertyInfo* mine = wire::FindProperty(id);
        const vcard::DriverProperty* driver = vcard::FindDriverProperty(id);
        ASSERT_EQ(mine == nullptr, driver == nullptr) << std::hex << id;
        if (mine == nullptr) continue;
        ++rows;
        EXPECT_EQ(mine->get, driver->get) << std::hex << id;
        EXPECT_EQ(mine->set, driver->set) << std::hex << id;
        EXPECT_EQ(mine->size, driver->size) << std::hex << id;
    }
    EXPECT_EQ(rows, 16);
    EXPECT_EQ(kDetailFixedSize, vcard::kSetupApiDetailSize);
    EXPECT_EQ(qsound::kStereoInstanceSize, vcard::kStereoInstanceSize);
}

TEST_F(Open, ADetailRecordSizedForTheOtherArchitectureIsRefused) {
    const DevList list = card.GetTopologyInterfaces(card.Get("instance_id").c_str());
    InterfaceInfo iface{};
    ASSERT_TRUE(card.EnumInterface(list, 0, iface));
    std::uint32_t required = 0;
    ASSERT_EQ(card.GetInterfaceDetail(list, iface, nullptr, 0, &required), Query::InsufficientBuffer);
    std::string detail(required, '\0');
    for (std::uint32_t size : {5u, 8u}) {
        std::memcpy(detail.data(), &size, 4);
        const Query q = card.GetInterfaceDetail(list, iface, detail.data(), required, &required);
        EXPECT_EQ(q == Query::Ok, size == (sizeof(void*) == 8 ? 8u : 5u)) << size;
    }
    card.DestroyList(list);
    ExpectNothingHeld();
}

// The property reads get the whole 260 bytes: a hardware-ID list (the ID, a
// compatible ID and two zeros) of exactly 260 bytes is the card, and a
// 259-character driver key comes back whole.
TEST_F(Open, PropertiesFillingTheWhole260ByteBufferAreRead) {
    const std::string base = "PCI\\VEN_1412&DEV_1724&SUBSYS_17241412&REV_01";
    const std::string id = base + std::string(260 - 24 - base.size(), 'X');
    card.Set("hardware_id", id);
    OsHandle h = kNoHandle;
    ASSERT_TRUE(device::Open(card, &h));
    device::Close(card, h);

    const std::string key = "{4D36E96C-E325-11CE-BFC1-08002BE10318}\\" + std::string(259 - 39, '7');
    ASSERT_EQ(key.size(), 259u);
    card.Set("driver_key", key);
    char buffer[260];
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_TRUE(device::GetRegPath(card, buffer));
    EXPECT_EQ(std::string(buffer, 260), key + '\0');

    // One byte more no longer fits the buffer of either read.
    card.Set("driver_key", key + "7");
    EXPECT_FALSE(device::GetRegPath(card, buffer));
    card.Set("hardware_id", id + "X");
    EXPECT_FALSE(device::Open(card, &h));
    ExpectNothingHeld();
}

TEST_F(Open, AHardwareIdWithSubsystemAndRevisionPartsIsTheCard) {
    card.Set("hardware_id", "PCI\\VEN_1412&DEV_1724&SUBSYS_000011AA&REV_7F");
    OsHandle h = kNoHandle;
    ASSERT_TRUE(device::Open(card, &h));
    device::Close(card, h);
    ExpectNothingHeld();
}

using RegPath = CardTest;

TEST_F(RegPath, CopiesTheDriverKeyWithItsTerminator) {
    char buffer[260];
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_TRUE(device::GetRegPath(card, buffer));
    EXPECT_STREQ(buffer, "{4D36E96C-E325-11CE-BFC1-08002BE10318}\\0003");
    ExpectNothingHeld();
}

TEST_F(RegPath, LeavesTheBufferUntouchedOnFailure) {
    for (const char* fault : {"fault.no_card", "fault.instance_id", "fault.hwid_case"}) {
        card.Reset();
        card.Set(fault, "1");
        char buffer[260];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_FALSE(device::GetRegPath(card, buffer)) << fault;
        EXPECT_EQ(buffer[0], 'x');
        EXPECT_EQ(buffer[259], 'x');
        ExpectNothingHeld();
    }
}
