// The x86 instructions the processor probe needs, for GCC-compatible compilers and MSVC.
#pragma once

#include <cstdint>

#include "probes/hardware/HardwareSource.h"

#if defined(_MSC_VER)
#include <intrin.h>
#elif defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#include <x86intrin.h>
#else
#error "The processor probe needs an x86 or x86-64 processor"
#endif

namespace cpu {

constexpr std::uintptr_t kIdFlag = 0x200000;  // EFLAGS bit 21

// A processor lets software flip the ID flag exactly when it implements CPUID.
inline bool CanToggleIdFlag() {
#if defined(_MSC_VER)
    const auto before = __readeflags();
    __writeeflags(before ^ kIdFlag);
    const auto after = __readeflags();
    __writeeflags(before);
    return ((before ^ after) & kIdFlag) != 0;
#else
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
#endif
}

inline CpuidResult Cpuid(std::uint32_t leaf) {
    CpuidResult result;
#if defined(_MSC_VER)
    int regs[4] = {};
    __cpuid(regs, static_cast<int>(leaf));
    result.eax = static_cast<std::uint32_t>(regs[0]);
    result.ebx = static_cast<std::uint32_t>(regs[1]);
    result.ecx = static_cast<std::uint32_t>(regs[2]);
    result.edx = static_cast<std::uint32_t>(regs[3]);
#else
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    // No range check: a leaf beyond the highest one is the caller's to judge.
    __cpuid(leaf, eax, ebx, ecx, edx);
    result.eax = eax;
    result.ebx = ebx;
    result.ecx = ecx;
    result.edx = edx;
#endif
    return result;
}

inline std::uint64_t ReadTimeStamp() { return __rdtsc(); }

}  // namespace cpu
