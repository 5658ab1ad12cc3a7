#include "app/win32/BackgroundRun.h"

#include <atomic>

#include "platform/ThreadWin32.h"
#include "probes/PcWin32.h"

namespace {

// A closed dialog ends its program within two seconds, run or not.
constexpr DWORD kCancelGraceMilliseconds = 1500;

ProtocolWrite WriteProtocolFile(const std::wstring& path, const std::string& text) {
    // Created afresh (or truncated), write access only, and nobody else may open it meanwhile.
    platform::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ProtocolWrite::CannotCreate;
    DWORD written = 0;
    const bool wrote = ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()),
                                   &written, nullptr) &&
                       written == text.size();
    const bool flushed = wrote && ::FlushFileBuffers(file.Get());
    const bool closed = ::CloseHandle(file.Release());
    return wrote && flushed && closed ? ProtocolWrite::Written : ProtocolWrite::WriteFailed;
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
        finished.protocol = WriteProtocolFile(request.protocolPath, report->protocol);
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

BackgroundRun::BackgroundRun(Request request)
    : m_state(std::make_shared<State>(std::move(request))) {
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
