#include <windows.h>
#include <mmsystem.h>
#include <cpuid.h>
#include <x86intrin.h>

#include "platform/SystemLibraryWin32.h"
#include "probes/PcWin32.h"

static_assert(kHighPriorityClass == HIGH_PRIORITY_CLASS);

namespace {

constexpr std::uintptr_t kIdFlag = 0x200000;  // EFLAGS bit 21

}  // namespace

std::uint64_t PcWin32::TotalPhysicalMemory() {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    if (!::GlobalMemoryStatusEx(&status)) return 0;
    return status.ullTotalPhys;
}

std::optional<DiskCapacity> PcWin32::QueryDriveC() {
    ULARGE_INTEGER availableToCaller = {};
    ULARGE_INTEGER total = {};
    ULARGE_INTEGER totalFree = {};
    if (!::GetDiskFreeSpaceExA("C:\\", &availableToCaller, &total, &totalFree)) return std::nullopt;
    DiskCapacity capacity;
    capacity.totalBytes = total.QuadPart;
    capacity.totalFreeBytes = totalFree.QuadPart;
    return capacity;
}

// A processor lets software flip the ID flag exactly when it implements CPUID.
bool PcWin32::CanToggleCpuidFlag() {
    std::uintptr_t before = 0;
    std::uintptr_t after = 0;
    // pushf/pop take the native width in either mode; the original flags are put back.
    // Windows keeps no red zone below the stack pointer, so the pushes clobber nothing.
    __asm__ volatile(
        "pushf\n\t"
        "pop %0\n\t"
        "mov %0, %1\n\t"
        "xor %2, %1\n\t"
        "push %1\n\t"
        "popf\n\t"
        "pushf\n\t"
        "pop %1\n\t"
        "push %0\n\t"
        "popf"
        : "=&r"(before), "=&r"(after)
        : "r"(kIdFlag)
        : "cc");
    return ((before ^ after) & kIdFlag) != 0;
}

CpuidResult PcWin32::Cpuid(std::uint32_t leaf) {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    // No range check: a leaf beyond the highest one is the caller's to judge.
    __cpuid(leaf, eax, ebx, ecx, edx);
    return CpuidResult{eax, ebx, ecx, edx};
}

std::uint32_t PcWin32::ReadTimeStampLow() { return static_cast<std::uint32_t>(__rdtsc()); }

std::optional<std::int64_t> PcWin32::PerformanceFrequency() {
    LARGE_INTEGER frequency = {};
    if (!::QueryPerformanceFrequency(&frequency)) return std::nullopt;
    return frequency.QuadPart;
}

std::int64_t PcWin32::PerformanceCount() {
    LARGE_INTEGER count = {};
    ::QueryPerformanceCounter(&count);
    return count.QuadPart;
}

void PcWin32::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::uint32_t PcWin32::MillisecondClock() {
    static const auto timeGetTime = SYSTEM_FUNCTION("winmm.dll", timeGetTime);
    // Without the multimedia library the ordinary tick count has to do.
    return timeGetTime != nullptr ? timeGetTime() : ::GetTickCount();
}

std::uint32_t PcWin32::GetPriorityClass() { return ::GetPriorityClass(::GetCurrentProcess()); }

void PcWin32::SetPriorityClass(std::uint32_t priorityClass) {
    ::SetPriorityClass(::GetCurrentProcess(), priorityClass);
}
