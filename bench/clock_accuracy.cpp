// How far the processor clock shown to the user strays from a careful measurement.
// The reference counts full 64-bit time-stamp cycles over two seconds of the performance
// counter; the shown clock is the probe's own, measured the way a test run measures it.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <x86intrin.h>

#include "probes/PcWin32.h"

namespace {

constexpr int kRuns = 20;
constexpr int kFallbackRuns = 3;
constexpr DWORD kReferenceMilliseconds = 2000;

double ReferenceMhz() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER startCount;
    LARGE_INTEGER endCount;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&startCount);
    const std::uint64_t startCycles = __rdtsc();
    ::Sleep(kReferenceMilliseconds);
    const std::uint64_t endCycles = __rdtsc();
    ::QueryPerformanceCounter(&endCount);
    const double microseconds = static_cast<double>(endCount.QuadPart - startCount.QuadPart) * 1e6 /
                                static_cast<double>(frequency.QuadPart);
    return static_cast<double>(endCycles - startCycles) / microseconds;
}

// The number inside "[... MHz]" at the end of the processor text; -1 when there is none.
long ShownMhz(const std::string& processor) {
    const std::size_t open = processor.rfind('[');
    if (open == std::string::npos) return -1;
    char* end = nullptr;
    const long mhz = std::strtol(processor.c_str() + open + 1, &end, 10);
    return std::string(end).rfind(" MHz]", 0) == 0 ? mhz : -1;
}

}  // namespace

int main() {
    const double before = ReferenceMhz();
    std::vector<long> shown;
    std::string processor;
    for (int run = 0; run < kRuns; ++run) {
        PcWin32 pc;
        processor = CHardwareInfo(pc).GetProcessorText();
        shown.push_back(ShownMhz(processor));
    }
    const double after = ReferenceMhz();
    const double reference = (before + after) / 2;

    std::printf("processor text: %s\n", processor.c_str());
    std::printf("reference: %.1f MHz before, %.1f MHz after, %.1f MHz mean\n", before, after,
                reference);
    if (std::any_of(shown.begin(), shown.end(), [](long mhz) { return mhz < 0; })) {
        std::printf("the clock was not measured on this processor\n");
        return 1;
    }
    double largest = 0;
    for (int run = 0; run < kRuns; ++run) {
        const double difference = static_cast<double>(shown[run]) - reference;
        largest = std::max(largest, std::fabs(difference));
        std::printf("run %2d: %5ld MHz  (%+7.1f MHz)\n", run + 1, shown[run], difference);
    }
    const auto [low, high] = std::minmax_element(shown.begin(), shown.end());
    std::printf("largest difference: %.1f MHz (%.3f %%)\n", largest, 100 * largest / reference);
    std::printf("spread: %ld MHz (%ld .. %ld)\n", *high - *low, *low, *high);

    // The fallbacks, for comparison: they serve only where the counter method finds nothing.
    PcWin32 pc;
    CHardwareInfo info(pc);
    std::printf("registry value: %u MHz\n", static_cast<unsigned>(info.ClockFromRegistry()));
    for (int run = 0; run < kFallbackRuns; ++run) {
        const std::uint32_t mhz = info.ClockFromTickCount();
        std::printf("tick-count method: %u MHz  (%+7.1f MHz)\n", static_cast<unsigned>(mhz),
                    static_cast<double>(mhz) - reference);
    }
    return 0;
}
