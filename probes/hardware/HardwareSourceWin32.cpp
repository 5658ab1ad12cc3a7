#include "probes/hardware/HardwareSourceWin32.h"

#include <windows.h>

#include "platform/RegistryWin32.h"
#include "platform/SystemLibraryWin32.h"
#include "probes/hardware/ProcessorInstructions.h"

namespace {

constexpr char kProcessorKey[] = "Hardware\\Description\\System\\CentralProcessor\\0";

using GetDiskFreeSpaceExAFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                                  PULARGE_INTEGER);

}  // namespace

std::uint64_t HardwareSourceWin32::TotalPhysicalMemory() {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    if (!::GlobalMemoryStatusEx(&status)) return 0;
    return status.ullTotalPhys;
}

std::optional<DiskCapacity> HardwareSourceWin32::QueryDriveC() {
    // Looked up at run time so that the program also starts where the export is missing.
    const platform::UniqueLibrary kernel = platform::LoadSystemLibrary("KERNEL32.DLL");
    if (!kernel) return std::nullopt;
    const FARPROC address = ::GetProcAddress(kernel.Get(), "GetDiskFreeSpaceExA");
    if (!address) return std::nullopt;
    const auto getDiskFreeSpaceEx = reinterpret_cast<GetDiskFreeSpaceExAFunction>(
        reinterpret_cast<void (*)()>(address));

    ULARGE_INTEGER availableToCaller = {};
    ULARGE_INTEGER total = {};
    ULARGE_INTEGER totalFree = {};
    if (!getDiskFreeSpaceEx("C:\\", &availableToCaller, &total, &totalFree)) return std::nullopt;
    DiskCapacity capacity;
    capacity.totalBytes = total.QuadPart;
    capacity.totalFreeBytes = totalFree.QuadPart;
    return capacity;
}

bool HardwareSourceWin32::CanToggleCpuidFlag() { return cpu::CanToggleIdFlag(); }

CpuidResult HardwareSourceWin32::Cpuid(std::uint32_t leaf) { return cpu::Cpuid(leaf); }

std::uint32_t HardwareSourceWin32::ReadTimeStampLow() {
    return static_cast<std::uint32_t>(cpu::ReadTimeStamp());
}

std::optional<std::int64_t> HardwareSourceWin32::PerformanceFrequency() {
    LARGE_INTEGER frequency = {};
    if (!::QueryPerformanceFrequency(&frequency)) return std::nullopt;
    return frequency.QuadPart;
}

std::int64_t HardwareSourceWin32::PerformanceCount() {
    LARGE_INTEGER count = {};
    ::QueryPerformanceCounter(&count);
    return count.QuadPart;
}

void HardwareSourceWin32::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::uint32_t HardwareSourceWin32::MillisecondClock() { return ::timeGetTime(); }

std::uint32_t HardwareSourceWin32::GetPriorityClass() {
    return ::GetPriorityClass(::GetCurrentProcess());
}

void HardwareSourceWin32::SetPriorityClass(std::uint32_t priorityClass) {
    ::SetPriorityClass(::GetCurrentProcess(), priorityClass);
}

std::optional<std::uint32_t> HardwareSourceWin32::RegistryProcessorMhz() {
    const platform::RegistryWin32 registry(platform::RegistryViews::NativeOnly);
    return registry.ReadDword(platform::RegistryRoot::LocalMachine, kProcessorKey, "~MHz");
}
