/* OrvaneVirtualDriver.sys: the test rig's card, below the driver boundary.

   A kernel driver for Wine only. Under Wine a driver is an ordinary PE module
   in winedevice.exe, so it may import kernel32 and carry the C and C++
   runtimes; that lets it host the virtual card's portable core and its state
   file. Windows would not load it, and it is never shipped: it stands where
   the card's WDM driver stands, so that the library's real platform code
   (SetupAPI, CreateFileA, DeviceIoControl) reaches it unchanged.

   Its service key (written by orvane_vcard_setup.exe) names the symbolic link
   of the card's topology interface ("LinkName", \??\pci#...) and the card's
   state file ("StateFile"). Every IOCTL_KS_PROPERTY arrives as a real IRP:
   METHOD_NEITHER, the KSPROPERTY header in Type3InputBuffer, the data buffer
   in UserBuffer (a set's bytes are already there), the byte count answered in
   IoStatus.Information. */
#include <ntddk.h>

#include "driver_card.h"

/* Wine's loader calls the entry point of a native-subsystem image that
   imports kernel32 as if it were DllMain, before the kernel side calls it as
   DriverEntry. That first call starts the C and C++ runtimes. */
extern char __ImageBase;
int __stdcall DllMainCRTStartup(void* instance, unsigned long reason, void* reserved);
int __stdcall DllMain(void* instance, unsigned long reason, void* reserved);

typedef struct {
    DriverCard* card;
    UNICODE_STRING deviceName;
    UNICODE_STRING link;
    WCHAR linkBuffer[512];
    BOOLEAN linked;
} DeviceState;

static const WCHAR kDeviceName[] = L"\\Device\\OrvaneVirtualCard";

/* A string value of the service key into `buffer` (zero-terminated). */
static NTSTATUS ReadServiceString(PUNICODE_STRING keyPath, const WCHAR* name, WCHAR* buffer,
                                  ULONG chars) {
    OBJECT_ATTRIBUTES attributes;
    HANDLE key = NULL;
    UNICODE_STRING valueName;
    UCHAR raw[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + 1024 * sizeof(WCHAR)];
    PKEY_VALUE_PARTIAL_INFORMATION value = (PKEY_VALUE_PARTIAL_INFORMATION)raw;
    ULONG length = 0;
    ULONG copy;
    NTSTATUS status;

    InitializeObjectAttributes(&attributes, keyPath, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL,
                               NULL);
    status = ZwOpenKey(&key, KEY_READ, &attributes);
    if (!NT_SUCCESS(status)) return status;
    RtlInitUnicodeString(&valueName, name);
    status = ZwQueryValueKey(key, &valueName, KeyValuePartialInformation, value, sizeof raw, &length);
    ZwClose(key);
    if (!NT_SUCCESS(status)) return status;
    if (value->Type != REG_SZ && value->Type != REG_EXPAND_SZ) return STATUS_OBJECT_TYPE_MISMATCH;
    copy = value->DataLength / sizeof(WCHAR);
    while (copy > 0 && ((const WCHAR*)value->Data)[copy - 1] == L'\0') --copy;
    if (copy >= chars) return STATUS_BUFFER_OVERFLOW;
    RtlCopyMemory(buffer, value->Data, copy * sizeof(WCHAR));
    buffer[copy] = L'\0';
    return STATUS_SUCCESS;
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS DispatchCreate(PDEVICE_OBJECT device, PIRP irp) {
    DeviceState* state = (DeviceState*)device->DeviceExtension;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    void* token = DriverCardOpen(state->card);
    stack->FileObject->FsContext = token;
    return Complete(irp, token != NULL ? STATUS_SUCCESS : STATUS_NO_SUCH_DEVICE, 0);
}

static NTSTATUS DispatchClose(PDEVICE_OBJECT device, PIRP irp) {
    DeviceState* state = (DeviceState*)device->DeviceExtension;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    DriverCardClose(state->card, stack->FileObject->FsContext);
    stack->FileObject->FsContext = NULL;
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchControl(PDEVICE_OBJECT device, PIRP irp) {
    DeviceState* state = (DeviceState*)device->DeviceExtension;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    uint32_t returned = 0;
    const int ok = DriverCardControl(
        state->card, stack->FileObject->FsContext, stack->Parameters.DeviceIoControl.IoControlCode,
        stack->Parameters.DeviceIoControl.Type3InputBuffer,
        stack->Parameters.DeviceIoControl.InputBufferLength, irp->UserBuffer,
        stack->Parameters.DeviceIoControl.OutputBufferLength, &returned);
    if (!ok) return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    return Complete(irp, STATUS_SUCCESS, returned);
}

/* The card's link is there exactly while the card takes opens: a program
   that opens the interface path of a card that is absent, vanished or
   refusing finds nothing, as on Windows. */
static void SetPresence(void* context, int present) {
    DeviceState* state = (DeviceState*)context;
    if (present && !state->linked)
        state->linked = NT_SUCCESS(IoCreateSymbolicLink(&state->link, &state->deviceName));
    else if (!present && state->linked)
        state->linked = !NT_SUCCESS(IoDeleteSymbolicLink(&state->link));
}

static void Unload(PDRIVER_OBJECT driver) {
    PDEVICE_OBJECT device = driver->DeviceObject;
    DeviceState* state;
    if (device == NULL) return;
    state = (DeviceState*)device->DeviceExtension;
    DriverCardDestroy(state->card);
    SetPresence(state, 0);
    IoDeleteDevice(device);
}

static NTSTATUS StartDriver(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    WCHAR statePath[1024];
    WCHAR link[512];
    UNICODE_STRING deviceName;
    PDEVICE_OBJECT device = NULL;
    DeviceState* state;
    NTSTATUS status;

    status = ReadServiceString(registryPath, L"LinkName", link, 512);
    if (!NT_SUCCESS(status)) return status;
    status = ReadServiceString(registryPath, L"StateFile", statePath, 1024);
    if (!NT_SUCCESS(status)) return status;

    RtlInitUnicodeString(&deviceName, kDeviceName);
    status = IoCreateDevice(driver, sizeof(DeviceState), &deviceName, FILE_DEVICE_KS, 0, FALSE,
                            &device);
    if (!NT_SUCCESS(status)) return status;
    state = (DeviceState*)device->DeviceExtension;
    state->deviceName = deviceName;
    RtlCopyMemory(state->linkBuffer, link, sizeof link);
    RtlInitUnicodeString(&state->link, state->linkBuffer);
    state->linked = FALSE;
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
    driver->DriverUnload = Unload;
    /* Links the device when the card takes opens, before the start returns. */
    state->card = DriverCardCreate(statePath, SetPresence, state);
    if (state->card == NULL) {
        IoDeleteDevice(device);
        return STATUS_UNSUCCESSFUL;
    }
    return STATUS_SUCCESS;
}

int __stdcall DllMain(void* instance, unsigned long reason, void* reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return 1;
}

/* The image's entry point, called twice under Wine: first by the loader with
   this image's own base (the DllMain call), then by the kernel side with the
   driver object. */
NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath, void* reserved) {
    if ((void*)driver == (void*)&__ImageBase)
        return DllMainCRTStartup(driver, (unsigned long)(ULONG_PTR)registryPath, reserved);
    return StartDriver(driver, registryPath);
}
