// Drains bodies of 1 MB, 100 MB and 400 MB through HttpProbe::TestUrl from the loopback
// HTTP server and prints the throughput and the process's peak memory after each. The
// body is thrown away piece by piece, so the peaks must not grow with the body's size; a
// body that takes longer than the probe's time limit is cut short, which the rate shows.
// Run through bench/http_body.sh, which starts the server.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "probes/PcWin32.h"

namespace {

void PrintPeaks(const char* label) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) {
        std::printf("%-10s GetProcessMemoryInfo failed (error %lu)\n", label, ::GetLastError());
        return;
    }
    std::printf("%-10s peak working set %7.1f MB, peak pagefile usage %7.1f MB\n", label,
                counters.PeakWorkingSetSize / 1048576.0, counters.PeakPagefileUsage / 1048576.0);
}

}  // namespace

int main() {
    const char* port = std::getenv("TARNVIK_TEST_HTTP_PORT");
    if (!port) {
        std::fprintf(stderr,
                     "http_body: TARNVIK_TEST_HTTP_PORT is not set; run bench/http_body.sh\n");
        return 2;
    }
    PrintPeaks("start");
    const struct {
        const char* label;
        unsigned long long bytes;
    } bodies[] = {{"1 MB", 1ull << 20}, {"100 MB", 100ull << 20}, {"400 MB", 400ull << 20}};
    for (const auto& body : bodies) {
        PcWin32 pc;
        const auto client = pc.NewHttpClient();
        HttpProbe probe(*client);
        const std::string url =
            std::string("http://127.0.0.1:") + port + "/bytes/" + std::to_string(body.bytes);
        std::string message;
        const auto start = std::chrono::steady_clock::now();
        const bool passed = probe.TestUrl(url, message);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-10s %s \"%s\" in %.2f s, %.1f MB/s\n", body.label, passed ? "pass" : "FAIL",
                    message.c_str(), seconds, body.bytes / 1048576.0 / seconds);
        PrintPeaks(body.label);
    }
    return 0;
}
