// orvane_vcard_setup.exe: puts the virtual card below the driver boundary of a
// Wine prefix, as the card's hardware and driver package would on Windows.
//
//   orvane_vcard_setup install STATEFILE   registers the PCI device and its
//       topology interface, installs OrvaneVirtualDriver.sys (found beside
//       this program) on that state file and starts it
//   orvane_vcard_setup stop | start        stops or starts the driver
//   orvane_vcard_setup remove              driver, service and device gone
//
// Exit code 0 on success, 1 on failure (said on stderr), 2 for a wrong command
// line. An install replaces the previous one, so that the state file's device
// faults take effect: `fault.no_card` registers no device, `fault.hwid_case`
// registers the hardware ID in lower case, `fault.no_interface` registers the
// device without its topology interface. The driver acts out the others.
#include <windows.h>
#include <setupapi.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include "card.h"

namespace {

constexpr char kService[] = "OrvaneVirtualDriver";
constexpr char kDriverFile[] = "OrvaneVirtualDriver.sys";
constexpr char kServiceKey[] = "SYSTEM\\CurrentControlSet\\Services\\OrvaneVirtualDriver";
// KSCATEGORY_TOPOLOGY and the media device class.
const GUID kTopologyCategory = {
    0xDDA54A40, 0x1E4C, 0x11D1, {0xA0, 0x50, 0x40, 0x57, 0x05, 0xC1, 0x00, 0x00}};
const GUID kMediaClass = {
    0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr DWORD kWaitMs = 10000;

int Fail(const std::string& what) {
    std::fprintf(stderr, "orvane_vcard_setup: %s (error %lu)\n", what.c_str(),
                 static_cast<unsigned long>(GetLastError()));
    return 1;
}

class CDeviceList {
public:
    explicit CDeviceList(HDEVINFO list) : m_list(list) {}
    ~CDeviceList() {
        if (m_list != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(m_list);
    }
    CDeviceList(const CDeviceList&) = delete;
    CDeviceList& operator=(const CDeviceList&) = delete;
    explicit operator bool() const { return m_list != INVALID_HANDLE_VALUE; }
    operator HDEVINFO() const { return m_list; }

private:
    HDEVINFO m_list;
};

class CServiceHandle {
public:
    explicit CServiceHandle(SC_HANDLE handle) : m_handle(handle) {}
    ~CServiceHandle() {
        if (m_handle != nullptr) CloseServiceHandle(m_handle);
    }
    CServiceHandle(const CServiceHandle&) = delete;
    CServiceHandle& operator=(const CServiceHandle&) = delete;
    explicit operator bool() const { return m_handle != nullptr; }
    operator SC_HANDLE() const { return m_handle; }

private:
    SC_HANDLE m_handle;
};

class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() {
        if (m_key != nullptr) RegCloseKey(m_key);
    }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    HKEY* Receive() { return &m_key; }
    operator HKEY() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// A 32-bit program under WoW64 sees SysWOW64 in place of System32; the driver
// belongs in the 64-bit System32\drivers, where the driver host looks.
class CNativeFileSystem {
public:
    CNativeFileSystem() { m_disabled = Wow64DisableWow64FsRedirection(&m_old) != FALSE; }
    ~CNativeFileSystem() {
        if (m_disabled) Wow64RevertWow64FsRedirection(m_old);
    }
    CNativeFileSystem(const CNativeFileSystem&) = delete;
    CNativeFileSystem& operator=(const CNativeFileSystem&) = delete;

private:
    void* m_old = nullptr;
    bool m_disabled = false;
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Fault(vcard::CVirtualCard& card, const char* key) {
    return vcard::ParseNumber(card.Get(std::string("fault.") + key), 0) != 0;
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string InstalledDriverPath() {
    char windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\system32\\drivers\\" + kDriverFile;
}

bool WriteServiceString(const char* name, const std::string& value) {
    CRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServiceKey, 0, KEY_SET_VALUE, key.Receive()) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::string ReadServiceString(const char* name) {
    CRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServiceKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS)
        return {};
    char value[1024] = {};
    DWORD size = sizeof value - 1, type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return value;
}

// ---- the service --------------------------------------------------------------

bool WaitForState(SC_HANDLE service, DWORD wanted) {
    const ULONGLONG end = GetTickCount64() + kWaitMs;
    SERVICE_STATUS status{};
    while (QueryServiceStatus(service, &status)) {
        if (status.dwCurrentState == wanted) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(50);
    }
    return false;
}

// Stops the driver; true when it is stopped (or there is none).
bool StopDriver(SC_HANDLE manager) {
    CServiceHandle service(OpenServiceA(manager, kService, SERVICE_STOP | SERVICE_QUERY_STATUS));
    if (!service) return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service, &status)) return false;
    if (status.dwCurrentState == SERVICE_STOPPED) return true;
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    return WaitForState(service, SERVICE_STOPPED);
}

bool StartDriver(SC_HANDLE manager) {
    CServiceHandle service(OpenServiceA(manager, kService, SERVICE_START | SERVICE_QUERY_STATUS));
    if (!service) return false;
    SERVICE_STATUS status{};
    if (QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING) return true;
    if (!StartServiceA(service, 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
        return false;
    return WaitForState(service, SERVICE_RUNNING);
}

bool DeleteDriverService(SC_HANDLE manager) {
    if (!StopDriver(manager)) return false;
    CServiceHandle service(OpenServiceA(manager, kService, DELETE));
    if (!service) return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
    return DeleteService(service) != FALSE || GetLastError() == ERROR_SERVICE_MARKED_FOR_DELETE;
}

// ---- the device ---------------------------------------------------------------

// Removes the device registered under `instanceId`, if there is one.
bool RemoveDevice(const std::string& instanceId) {
    if (instanceId.empty()) return true;
    CDeviceList list(SetupDiCreateDeviceInfoList(nullptr, nullptr));
    if (!list) return false;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (!SetupDiOpenDeviceInfoA(list, instanceId.c_str(), nullptr, 0, &device))
        return GetLastError() == ERROR_NO_SUCH_DEVINST;
    return SetupDiRemoveDevice(list, &device) != FALSE;
}

// The interface path as SetupAPI hands it out, or "" when it has none.
std::string InterfacePath(HDEVINFO list, SP_DEVICE_INTERFACE_DATA& iface) {
    DWORD needed = 0;
    SetupDiGetDeviceInterfaceDetailA(list, &iface, nullptr, 0, &needed, nullptr);
    if (needed == 0) return {};
    std::string buffer(needed, '\0');
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
    detail->cbSize = sizeof *detail;
    if (!SetupDiGetDeviceInterfaceDetailA(list, &iface, detail, needed, nullptr, nullptr)) return {};
    return detail->DevicePath;
}

// The symbolic link SetupAPI derives from an instance ID for the topology
// interface (used when the device has no interface, so the driver still has
// a name nobody finds).
std::string DerivedLink(std::string instanceId) {
    for (char& c : instanceId)
        if (c == '\\') c = '#';
    return "\\\\?\\" + Lower(instanceId) + "#{dda54a40-1e4c-11d1-a050-405705c10000}";
}

// Registers the card's PCI device; returns the interface path ("" on failure).
std::string RegisterDevice(const std::string& instanceId, const std::string& hardwareId,
                           bool withInterface) {
    CDeviceList list(SetupDiCreateDeviceInfoList(&kMediaClass, nullptr));
    if (!list) return {};
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (!SetupDiCreateDeviceInfoA(list, instanceId.c_str(), &kMediaClass, "Orvane Audio (virtual card)",
                                  nullptr, 0, &device))
        return {};
    // REG_MULTI_SZ: the hardware ID, the bare vendor and device as a
    // compatible ID, and the closing empty string.
    const std::string ids = hardwareId + '\0' + hardwareId.substr(0, 21) + '\0' + '\0';
    if (!SetupDiSetDeviceRegistryPropertyA(list, &device, SPDRP_HARDWAREID,
                                           reinterpret_cast<const BYTE*>(ids.data()),
                                           static_cast<DWORD>(ids.size())) ||
        !SetupDiRegisterDeviceInfo(list, &device, 0, nullptr, nullptr, nullptr))
        return {};
    // The driver key (SPDRP_DRIVER) that CorraGetRegPath reads.
    const HKEY driverKey = SetupDiCreateDevRegKeyA(list, &device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, nullptr, nullptr);
    if (driverKey == INVALID_HANDLE_VALUE) return {};
    RegCloseKey(driverKey);
    if (!withInterface) return DerivedLink(instanceId);
    // No reference string: Wine 8 cannot open an interface path with a
    // reference-string tail.
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    if (!SetupDiCreateDeviceInterfaceA(list, &device, &kTopologyCategory, nullptr, 0, &iface)) return {};
    return InterfacePath(list, iface);
}

// ---- the commands -------------------------------------------------------------

int Remove() {
    CServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return Fail("the service manager cannot be opened");
    const std::string instanceId = ReadServiceString("InstanceId");
    if (!DeleteDriverService(manager)) return Fail("the driver's service cannot be removed");
    if (!RemoveDevice(instanceId)) return Fail("the device cannot be removed");
    CNativeFileSystem native;
    DeleteFileA(InstalledDriverPath().c_str());
    return 0;
}

int Install(const std::string& stateFile) {
    // The card fills in the defaults its state file lacks.
    vcard::CVirtualCard card{std::filesystem::path(stateFile)};
    const std::string instanceId = card.Get("instance_id");
    std::string hardwareId = card.Get("hardware_id");
    if (Fault(card, "hwid_case")) hardwareId = Lower(hardwareId);
    const bool present = !Fault(card, "no_card");

    if (Remove() != 0) return 1;
    std::string path = DerivedLink(instanceId);
    if (present) {
        path = RegisterDevice(instanceId, hardwareId, !Fault(card, "no_interface"));
        if (path.empty()) return Fail("the device cannot be registered");
    }
    {
        CNativeFileSystem native;
        if (!CopyFileA((ProgramFolder() + kDriverFile).c_str(), InstalledDriverPath().c_str(), FALSE))
            return Fail(std::string("cannot copy ") + kDriverFile + " beside this program into the drivers folder");
    }
    CServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return Fail("the service manager cannot be opened");
    // Started with the prefix (before its first program) from now on; the
    // image path is a full one, as a relative one does not load.
    CServiceHandle service(CreateServiceA(manager, kService, "Orvane virtual card driver", SERVICE_ALL_ACCESS,
                                          SERVICE_KERNEL_DRIVER, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                          InstalledDriverPath().c_str(), nullptr, nullptr, nullptr, nullptr,
                                          nullptr));
    if (!service) return Fail("the driver's service cannot be created");
    // The link the I/O manager resolves: the interface path with \\?\ as \??\.
    const std::string link = "\\??\\" + path.substr(4);
    if (!WriteServiceString("LinkName", link) || !WriteServiceString("StateFile", stateFile) ||
        !WriteServiceString("InstanceId", instanceId))
        return Fail("the driver's settings cannot be written");
    // Without the device there is nothing for the driver to drive.
    if (present && !StartDriver(manager)) return Fail("the driver does not start");
    return 0;
}

int Control(bool start) {
    CServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return Fail("the service manager cannot be opened");
    if (start ? StartDriver(manager) : StopDriver(manager)) return 0;
    return Fail(start ? "the driver does not start" : "the driver does not stop");
}

int Usage() {
    std::fprintf(stderr, "usage: orvane_vcard_setup install STATEFILE | stop | start | remove\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    try {
        if (command == "install" && argc == 3) return Install(argv[2]);
        if (command == "stop" && argc == 2) return Control(false);
        if (command == "start" && argc == 2) return Control(true);
        if (command == "remove" && argc == 2) return Remove();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane_vcard_setup: %s\n", e.what());
        return 1;
    }
    return Usage();
}
