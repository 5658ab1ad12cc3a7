#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <vector>

#include "platform/SystemLibraryWin32.h"
#include "probes/PcWin32.h"

static_assert(HttpProbe::kHttpRequestFlags == (INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                               INTERNET_FLAG_KEEP_CONNECTION) &&
              HttpProbe::kHttpsRequestFlags ==
                  (HttpProbe::kHttpRequestFlags | INTERNET_FLAG_SECURE));

namespace {

// Room for each of host name and path: the longest URL WinINet handles.
constexpr DWORD kUrlPartLength = 2084;
// A test run must end: a server that accepts and then stays silent is given up after this.
// Without it some WinINet builds wait for ever.
constexpr DWORD kReceiveTimeoutMilliseconds = 60000;

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

}  // namespace

void InternetHandleTraits::Close(void* handle) { Api().close(handle); }

void PcWin32::Close() {
    // Children before their parents.
    m_hRequest.Reset();
    m_hConnection.Reset();
    m_hSession.Reset();
}

bool PcWin32::Split(const std::string& url, UrlParts& parts) {
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

bool PcWin32::Open(const std::string& userAgent) {
    m_hSession.Reset(
        Api().open(userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    return static_cast<bool>(m_hSession);
}

bool PcWin32::Connect(const std::string& host, std::uint16_t port) {
    m_hConnection.Reset(Api().connect(m_hSession.Get(), host.c_str(), port, "", "",
                                           INTERNET_SERVICE_HTTP, 0, 0));
    return static_cast<bool>(m_hConnection);
}

bool PcWin32::OpenRequest(const std::string& verb, const std::string& path, std::uint32_t flags) {
    m_hRequest.Reset(Api().openRequest(m_hConnection.Get(), verb.c_str(), path.c_str(), nullptr, "",
                                        nullptr, flags, 0));
    if (m_hRequest) {
        DWORD timeout = kReceiveTimeoutMilliseconds;
        Api().setOption(m_hRequest.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    }
    return static_cast<bool>(m_hRequest);
}

bool PcWin32::Send(std::uint32_t& error) {
    if (Api().send(m_hRequest.Get(), nullptr, 0, nullptr, 0)) return true;
    error = ::GetLastError();
    return false;
}

bool PcWin32::QueryStatus(std::uint32_t& status) {
    DWORD code = 0;
    DWORD length = sizeof code;
    if (!Api().queryInfo(m_hRequest.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code,
                          &length, nullptr)) {
        return false;
    }
    status = code;
    return true;
}

bool PcWin32::Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
    // Only what the connection has ready, and at least one byte to tell the end of the body:
    // a synchronous read waits until its whole length has come, which a server that trickles
    // its body could drag out for hours.
    DWORD available = 0;
    if (!Api().queryAvailable(m_hRequest.Get(), &available, 0, 0)) return false;
    DWORD read = 0;
    const DWORD wanted = std::clamp<DWORD>(available, 1, size);
    const bool ok = Api().read(m_hRequest.Get(), buffer, wanted, &read) != FALSE;
    bytesRead = read;
    return ok;
}
