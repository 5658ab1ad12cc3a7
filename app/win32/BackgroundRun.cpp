#include "app/win32/BackgroundRun.h"

#include <atomic>

#include "app/Csv.h"
#include "app/win32/Messages.h"
#include "platform/CsvFileWin32.h"
#include "platform/EncodingWin32.h"
#include "platform/ThreadWin32.h"
#include "probes/PcWin32.h"

namespace {

// A write that has begun completes before the process ends; one stuck on a share that no
// longer answers is not waited for beyond this.
constexpr DWORD kWriteDeadlineMilliseconds = 30000;

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

// The PC's row: its own file in a drop folder, or a row added to a shared file.
bool WriteCsvRow(const std::wstring& path, const RunReport& report, const RunSettings& settings,
                 bool elevated, HANDLE stop) {
    CsvRow row = CsvRowOf(report, settings.installType);
    const std::wstring computer = ComputerName();
    row.computer = platform::Utf8FromWide(computer);
    row.user = UserName();
    row.time = FormatCsvTime(settings.localTime.value_or(CalendarTime()), UtcOffsetMinutes());
    if (platform::IsDropFolder(path)) {
        return platform::WriteDropFile(path, computer + L".csv", CsvHeaderLine(), CsvDataLine(row),
                                       elevated);
    }
    return platform::AppendCsvRow(path, CsvHeaderLine(), CsvDataLine(row), elevated,
                                  platform::kCsvBusyWait, stop);
}

}  // namespace

// Shared by the run's thread and its owner, so that a run left to the process's end never
// touches what its owner has freed.
struct BackgroundRun::State final : RunObserver {
    explicit State(Request r) : request(std::move(r)), pc(request.setOwnerEnabled) {}

    void OnWaiting(Item item) override {
        {
            platform::Locked locked(lock);
            progress.waiting.push_back(item);
        }
        Notify();
    }
    void OnItem(Item item, const ItemResult& result) override {
        {
            platform::Locked locked(lock);
            progress.items.emplace_back(item, result);
        }
        Notify();
    }
    bool IsCancelled() const override { return cancelled; }

    void Notify() const {
        if (request.notify != nullptr) ::PostMessageW(request.notify, kRunProgressMessage, 0, 0);
    }

    void Run() {
        RunEnd finished;
        try {
            std::optional<RunReport> report = RunTest(pc, request.settings, *this);
            if (!report || !BeginWriting()) return;
            // With administrator rights a write through a user's link could change any file.
            const bool elevated = IsUserInAdministrators(pc);
            finished.protocol =
                platform::WriteFileByReplacement(request.protocolPath, report->protocol, elevated);
            // The row counts even where the protocol could not be written: it is the PC's.
            if (!request.csvPath.empty()) {
                finished.csvWritten = WriteCsvRow(request.csvPath, *report, request.settings,
                                                  elevated, stopped.Get());
            }
            finished.report = std::move(*report);
        } catch (...) {
            // Never the runtime's box: the run ends as failed, as a protocol not written does.
            finished = RunEnd();
            finished.protocol = platform::FileWriteResult::WriteFailed;
        }
        {
            platform::Locked locked(lock);
            progress.end = std::move(finished);
        }
        Notify();
    }

    // False when the run was cancelled first: then nothing is written.
    bool BeginWriting() {
        platform::Locked gate(writeGate);
        writing = !cancelled;
        return writing;
    }

    bool Cancel() {
        {
            platform::Locked gate(writeGate);
            cancelled = true;
        }
        ::SetEvent(stopped.Get());
        pc.Cancel();
        return writing;
    }

    const Request request;
    PcWin32 pc;
    std::atomic<bool> cancelled{false};
    platform::UniqueKernelHandle stopped{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    // Taken to begin writing and to cancel, so that a cancel comes either before the first
    // byte or after the decision to write everything.
    platform::CriticalSection writeGate;
    std::atomic<bool> writing{false};
    platform::CriticalSection lock;  // guards progress
    RunProgress progress;
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
    if (Cancel()) WaitUntilEnded(kWriteDeadlineMilliseconds);
}

RunProgress BackgroundRun::TakeProgress() {
    platform::Locked locked(m_state->lock);
    return std::exchange(m_state->progress, RunProgress());
}

bool BackgroundRun::Cancel() { return m_state->Cancel(); }

bool BackgroundRun::WaitUntilEnded(DWORD milliseconds) {
    return !m_thread || ::WaitForSingleObject(m_thread.Get(), milliseconds) == WAIT_OBJECT_0;
}
