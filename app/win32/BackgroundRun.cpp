#include "app/win32/BackgroundRun.h"

#include <atomic>

#include "app/Csv.h"
#include "platform/CsvFileWin32.h"
#include "platform/EncodingWin32.h"
#include "platform/ThreadWin32.h"
#include "probes/PcWin32.h"

namespace {

// A closed dialog ends its program within two seconds, run or not: a cancelled run gets one
// second to end (a request some WinINet builds cannot abort is then left to the process's end).
constexpr DWORD kCancelGraceMilliseconds = 1000;

std::wstring ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &length) ? name : std::wstring();
}

std::string UserName() {
    wchar_t name[257] = {};  // UNLEN + 1
    DWORD length = 257;
    return ::GetUserNameW(name, &length) ? platform::Utf8FromWide(name) : std::string();
}

// Minutes east of UTC, daylight saving time included while it is in force.
int UtcOffsetMinutes() {
    TIME_ZONE_INFORMATION zone = {};
    const DWORD kind = ::GetTimeZoneInformation(&zone);
    LONG bias = zone.Bias;
    if (kind == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
    if (kind == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
    return -bias;
}

bool AppendCsvRow(const std::wstring& path, const RunReport& report, const RunSettings& settings) {
    CsvRow row = CsvRowOf(report, settings.installType);
    const std::wstring computer = ComputerName();
    row.computer = platform::Utf8FromWide(computer);
    row.user = UserName();
    row.time = FormatCsvTime(settings.localTime.value_or(CalendarTime()), UtcOffsetMinutes());
    if (platform::IsDropFolder(path)) {
        return platform::WriteDropFile(path, computer + L".csv", CsvHeaderLine(), CsvDataLine(row));
    }
    return platform::AppendCsvRow(path, CsvHeaderLine(), CsvDataLine(row));
}

}  // namespace

// Shared by the run's thread and its owner, so that a run left to the process's end never
// touches what its owner has freed.
struct BackgroundRun::State final : RunObserver {
    explicit State(Request r) : request(std::move(r)), pc(request.setOwnerEnabled) {}

    void OnItem(Item item, const ItemResult& result) override {
        {
            platform::Locked locked(lock);
            items.emplace_back(item, result);
        }
        Notify();
    }
    bool IsCancelled() const override { return cancelled; }

    void Notify() const {
        if (request.notify != nullptr) ::PostMessageW(request.notify, kRunProgressMessage, 0, 0);
    }

    void Run() {
        std::optional<RunReport> report = RunTest(pc, request.settings, *this);
        if (!report || cancelled) return;
        RunEnd finished;
        finished.protocol =
            platform::WriteFileByReplacement(request.protocolPath, report->protocol);
        // The row counts even where the protocol could not be written: it is the PC's.
        if (!request.csvPath.empty()) {
            finished.csvWritten = AppendCsvRow(request.csvPath, *report, request.settings);
        }
        finished.report = std::move(*report);
        {
            platform::Locked locked(lock);
            end = std::move(finished);
        }
        Notify();
    }

    const Request request;
    PcWin32 pc;
    std::atomic<bool> cancelled{false};
    platform::CriticalSection lock;
    std::vector<std::pair<Item, ItemResult>> items;
    std::optional<RunEnd> end;
};

BackgroundRun::BackgroundRun(Request request) {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);  // all of the year, unlike a 32-bit time_t
    request.settings.localTime =
        CalendarTime{now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond};
    m_state = std::make_shared<State>(std::move(request));
    m_thread = platform::StartThread([state = m_state] { state->Run(); });
    if (!m_thread) m_state->Run();  // no thread to be had: the caller waits instead
}

BackgroundRun::~BackgroundRun() {
    Cancel();
    WaitUntilEnded(kCancelGraceMilliseconds);
}

std::vector<std::pair<Item, ItemResult>> BackgroundRun::TakeItems() {
    platform::Locked locked(m_state->lock);
    return std::exchange(m_state->items, {});
}

std::optional<RunEnd> BackgroundRun::TakeEnd() {
    platform::Locked locked(m_state->lock);
    return std::exchange(m_state->end, std::nullopt);
}

void BackgroundRun::Cancel() {
    m_state->cancelled = true;
    m_state->pc.Cancel();
}

bool BackgroundRun::WaitUntilEnded(DWORD milliseconds) {
    return !m_thread || ::WaitForSingleObject(m_thread.Get(), milliseconds) == WAIT_OBJECT_0;
}
