#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/SystemLibraryWin32.h"
#include "platform/ThreadWin32.h"
#include "probes/PcWin32.h"

static_assert(HttpProbe::kHttpRequestFlags == (INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                               INTERNET_FLAG_KEEP_CONNECTION) &&
              HttpProbe::kHttpsRequestFlags ==
                  (HttpProbe::kHttpRequestFlags | INTERNET_FLAG_SECURE));
static_assert(HttpProbe::kTimedOutError == ERROR_INTERNET_TIMEOUT);

namespace {

// Room for each of host name and path: the longest URL WinINet handles.
constexpr DWORD kUrlPartLength = 2084;
// How long requests aborted at their deadline get to return before they are given up.
constexpr DWORD kAbortGraceMilliseconds = 2000;

constexpr char kWinInet[] = "wininet.dll";

// WinINet from the system directory, looked up at first use.
struct WinInet {
    decltype(::InternetCanonicalizeUrlA)* canonicalize =
        SYSTEM_FUNCTION(kWinInet, InternetCanonicalizeUrlA);
    decltype(::InternetCrackUrlA)* crack = SYSTEM_FUNCTION(kWinInet, InternetCrackUrlA);
    decltype(::InternetOpenA)* open = SYSTEM_FUNCTION(kWinInet, InternetOpenA);
    decltype(::InternetConnectA)* connect = SYSTEM_FUNCTION(kWinInet, InternetConnectA);
    decltype(::HttpOpenRequestA)* openRequest = SYSTEM_FUNCTION(kWinInet, HttpOpenRequestA);
    decltype(::InternetSetOptionA)* setOption = SYSTEM_FUNCTION(kWinInet, InternetSetOptionA);
    decltype(::HttpSendRequestA)* send = SYSTEM_FUNCTION(kWinInet, HttpSendRequestA);
    decltype(::HttpQueryInfoA)* queryInfo = SYSTEM_FUNCTION(kWinInet, HttpQueryInfoA);
    decltype(::InternetQueryDataAvailable)* queryAvailable =
        SYSTEM_FUNCTION(kWinInet, InternetQueryDataAvailable);
    decltype(::InternetReadFile)* read = SYSTEM_FUNCTION(kWinInet, InternetReadFile);
    decltype(::InternetCloseHandle)* close = SYSTEM_FUNCTION(kWinInet, InternetCloseHandle);

    // Whole or not at all: a WinINet without one of these gives no handle to go on with.
    bool Complete() const {
        return canonicalize && crack && open && connect && openRequest && setOption && send &&
               queryInfo && queryAvailable && read && close;
    }
};

const WinInet& Api() {
    static const WinInet api;
    return api;
}

// Browser mode: spaces and unsafe characters are escaped, "#" and "?" parts kept.
bool Canonicalize(const std::string& url, std::vector<char>& canonical) {
    canonical.assign(kUrlPartLength, '\0');
    DWORD length = kUrlPartLength;
    if (Api().canonicalize(url.c_str(), canonical.data(), &length, ICU_BROWSER_MODE)) return true;
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    // WinINet reports the size it needs; grow once to exactly that.
    canonical.assign(length, '\0');
    return Api().canonicalize(url.c_str(), canonical.data(), &length, ICU_BROWSER_MODE) != FALSE;
}

// One GET over WinINet in its synchronous mode. Another thread may abort it at any time by
// closing its handles: WinINet then ends the call that blocks on them with an error.
class WinInetClient final : public HttpClient {
public:
    explicit WinInetClient(std::shared_ptr<RequestHandles> handles)
        : m_handles(std::move(handles)) {}
    ~WinInetClient() override { m_handles->Close(); }

    bool Split(const std::string& url, UrlParts& parts) override {
        std::vector<char> canonical;
        if (!Api().Complete()) return false;
        if (!Canonicalize(url, canonical)) return false;

        std::vector<char> host(kUrlPartLength, '\0');
        std::vector<char> path(kUrlPartLength, '\0');
        URL_COMPONENTSA components = {};
        components.dwStructSize = sizeof components;
        components.lpszHostName = host.data();
        components.dwHostNameLength = kUrlPartLength;
        components.lpszUrlPath = path.data();
        components.dwUrlPathLength = kUrlPartLength;
        if (!Api().crack(canonical.data(), 0, 0, &components)) return false;

        parts.isHttps = components.nScheme == INTERNET_SCHEME_HTTPS;
        parts.host.assign(host.data(), components.dwHostNameLength);
        parts.port = components.nPort;
        parts.path.assign(path.data(), components.dwUrlPathLength);
        return true;
    }

    bool Open(const std::string& userAgent) override {
        const HINTERNET session =
            Api().open(userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        SetTimeouts(session);
        return m_handles->Keep(RequestHandles::Session, session);
    }

    bool Connect(const std::string& host, std::uint16_t port) override {
        return m_handles->Keep(RequestHandles::Connection,
                               Api().connect(m_handles->Get(RequestHandles::Session), host.c_str(),
                                             port, "", "", INTERNET_SERVICE_HTTP, 0, 0));
    }

    bool OpenRequest(const std::string& verb, const std::string& path,
                     std::uint32_t flags) override {
        const HINTERNET request =
            Api().openRequest(m_handles->Get(RequestHandles::Connection), verb.c_str(),
                              path.c_str(), nullptr, "", nullptr, flags, 0);
        SetTimeouts(request);  // not every WinINet hands the session's down to its requests
        return m_handles->Keep(RequestHandles::Request, request);
    }

    bool Send(std::uint32_t& error) override {
        const bool sent =
            Api().send(m_handles->Get(RequestHandles::Request), nullptr, 0, nullptr, 0) != FALSE;
        const DWORD lastError = ::GetLastError();
        if (sent && !m_handles->Aborted()) return true;
        // A request aborted at its deadline timed out, whatever the aborted call says.
        error = m_handles->TimedOut() ? HttpProbe::kTimedOutError
                                      : (sent ? ERROR_INTERNET_OPERATION_CANCELLED : lastError);
        return false;
    }

    bool QueryStatus(std::uint32_t& status) override {
        DWORD code = 0;
        DWORD length = sizeof code;
        if (!Api().queryInfo(m_handles->Get(RequestHandles::Request),
                             HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &length,
                             nullptr)) {
            return false;
        }
        status = code;
        return true;
    }

    bool Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) override {
        // Only what the connection has ready, and at least one byte to tell the end of the
        // body: a synchronous read waits until its whole length has come, which a server that
        // trickles its body could drag out for hours.
        const HINTERNET request = m_handles->Get(RequestHandles::Request);
        DWORD available = 0;
        if (!Api().queryAvailable(request, &available, 0, 0)) return false;
        DWORD read = 0;
        const DWORD wanted = std::clamp<DWORD>(available, 1, size);
        const bool ok = Api().read(request, buffer, wanted, &read) != FALSE;
        bytesRead = read;
        return ok;
    }

    std::uint32_t TickCount() override { return ::GetTickCount(); }

private:
    // Every step of the answer has its time-out; WinINet's own defaults may be endless.
    static void SetTimeouts(HINTERNET handle) {
        if (handle == nullptr) return;
        DWORD timeout = HttpProbe::kAnswerTimeoutMilliseconds;
        for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                                   INTERNET_OPTION_RECEIVE_TIMEOUT}) {
            Api().setOption(handle, option, &timeout, sizeof timeout);
        }
    }

    std::shared_ptr<RequestHandles> m_handles;
};

}  // namespace

bool RequestHandles::Keep(Slot slot, void* handle) {
    platform::Locked locked(m_lock);
    if (handle != nullptr && m_aborted) {
        Api().close(handle);  // aborted while it was being made
        return false;
    }
    m_handles[slot] = handle;
    return handle != nullptr;
}

void* RequestHandles::Get(Slot slot) {
    platform::Locked locked(m_lock);
    return m_handles[slot];
}

void RequestHandles::Close() {
    platform::Locked locked(m_lock);
    CloseAllLocked();
}

void RequestHandles::Abort(bool timedOut) {
    platform::Locked locked(m_lock);
    m_aborted = true;
    m_timedOut = m_timedOut || timedOut;
    CloseAllLocked();
}

void RequestHandles::CloseAllLocked() {
    // Children before their parents.
    for (void*& handle : m_handles) {
        if (handle != nullptr) Api().close(handle);
        handle = nullptr;
    }
}

bool RequestHandles::Aborted() {
    platform::Locked locked(m_lock);
    return m_aborted;
}

bool RequestHandles::TimedOut() {
    platform::Locked locked(m_lock);
    return m_timedOut;
}

std::unique_ptr<HttpClient> PcWin32::NewHttpClient() {
    auto handles = std::make_shared<RequestHandles>();
    platform::Locked locked(m_requestsLock);
    m_requests.push_back(handles);
    return std::make_unique<WinInetClient>(std::move(handles));
}

void PcWin32::AbortRequests(bool timedOut) {
    platform::Locked locked(m_requestsLock);
    for (const auto& handles : m_requests) handles->Abort(timedOut);
}

namespace {

// Requests started side by side, waited for at most until their deadline.
class SideBySideJobsWin32 final : public SideBySideJobs {
public:
    SideBySideJobsWin32(PcWin32& pc, std::vector<platform::UniqueKernelHandle> threads,
                        DWORD deadlineMilliseconds)
        : m_pc(pc), m_threads(std::move(threads)), m_deadline(deadlineMilliseconds) {}

    std::vector<bool> Wait() override {
        return m_pc.WaitSideBySide(m_threads, m_start, m_deadline);
    }

private:
    PcWin32& m_pc;
    std::vector<platform::UniqueKernelHandle> m_threads;
    const DWORD m_start = ::GetTickCount();
    DWORD m_deadline;
};

}  // namespace

std::unique_ptr<SideBySideJobs> PcWin32::StartSideBySide(
    const std::vector<std::function<void()>>& jobs, std::uint32_t deadlineMilliseconds) {
    std::vector<platform::UniqueKernelHandle> threads;
    for (const auto& job : jobs) threads.push_back(platform::StartThread(job));
    return std::make_unique<SideBySideJobsWin32>(*this, std::move(threads), deadlineMilliseconds);
}

std::vector<bool> PcWin32::WaitSideBySide(const std::vector<platform::UniqueKernelHandle>& threads,
                                          DWORD start, DWORD deadlineMilliseconds) {
    std::vector<HANDLE> running;
    for (const auto& thread : threads) {
        if (thread) running.push_back(thread.Get());
    }
    bool cancelled = false;
    while (!running.empty() && !cancelled) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= deadlineMilliseconds) break;
        std::vector<HANDLE> waits = running;
        waits.push_back(m_cancelled.Get());
        const DWORD woken = ::WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(),
                                                     FALSE, deadlineMilliseconds - elapsed);
        if (woken >= WAIT_OBJECT_0 + running.size()) {
            cancelled = woken == WAIT_OBJECT_0 + running.size();
            if (!cancelled) break;  // the deadline, or a wait that failed
        } else {
            running.erase(running.begin() + (woken - WAIT_OBJECT_0));
        }
    }
    if (!running.empty()) {
        AbortRequests(!cancelled);
        ::WaitForMultipleObjects(static_cast<DWORD>(running.size()), running.data(), TRUE,
                                 kAbortGraceMilliseconds);
    }
    std::vector<bool> ended;
    for (const auto& thread : threads) {
        ended.push_back(thread && ::WaitForSingleObject(thread.Get(), 0) == WAIT_OBJECT_0);
    }
    return ended;
}

void PcWin32::Cancel() {
    ::SetEvent(m_cancelled.Get());
    AbortRequests(false);
}
