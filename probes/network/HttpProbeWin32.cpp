#include <windows.h>
#include <wininet.h>

#include <vector>

#include "probes/PcWin32.h"

static_assert(HttpProbe::kHttpRequestFlags ==
                  (INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION) &&
              HttpProbe::kHttpsRequestFlags == (HttpProbe::kHttpRequestFlags | INTERNET_FLAG_SECURE));

namespace {

// Room for each of host name and path: the longest URL WinINet handles.
constexpr DWORD kUrlPartLength = 2084;
// A test run must end: a server that accepts and then stays silent is given up after this.
// Without it some WinINet builds wait for ever.
constexpr DWORD kReceiveTimeoutMilliseconds = 60000;

// Browser mode: spaces and unsafe characters are escaped, "#" and "?" parts kept.
bool Canonicalize(const std::string& url, std::vector<char>& canonical) {
    canonical.assign(kUrlPartLength, '\0');
    DWORD length = kUrlPartLength;
    if (::InternetCanonicalizeUrlA(url.c_str(), canonical.data(), &length, ICU_BROWSER_MODE)) {
        return true;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    // WinINet reports the size it needs; grow once to exactly that.
    canonical.assign(length, '\0');
    return ::InternetCanonicalizeUrlA(url.c_str(), canonical.data(), &length, ICU_BROWSER_MODE) != FALSE;
}

}  // namespace

void PcWin32::Close() {
    // Children before their parents.
    m_hRequest.Reset();
    m_hConnection.Reset();
    m_hSession.Reset();
}

bool PcWin32::Split(const std::string& url, UrlParts& parts) {
    std::vector<char> canonical;
    if (!Canonicalize(url, canonical)) return false;

    std::vector<char> host(kUrlPartLength, '\0');
    std::vector<char> path(kUrlPartLength, '\0');
    URL_COMPONENTSA components = {};
    components.dwStructSize = sizeof components;
    components.lpszHostName = host.data();
    components.dwHostNameLength = kUrlPartLength;
    components.lpszUrlPath = path.data();
    components.dwUrlPathLength = kUrlPartLength;
    if (!::InternetCrackUrlA(canonical.data(), 0, 0, &components)) return false;

    parts.isHttps = components.nScheme == INTERNET_SCHEME_HTTPS;
    parts.host.assign(host.data(), components.dwHostNameLength);
    parts.port = components.nPort;
    parts.path.assign(path.data(), components.dwUrlPathLength);
    return true;
}

bool PcWin32::Open(const std::string& userAgent) {
    m_hSession.Reset(::InternetOpenA(userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    return static_cast<bool>(m_hSession);
}

bool PcWin32::Connect(const std::string& host, std::uint16_t port) {
    m_hConnection.Reset(::InternetConnectA(m_hSession.Get(), host.c_str(), port, "", "",
                                           INTERNET_SERVICE_HTTP, 0, 0));
    return static_cast<bool>(m_hConnection);
}

bool PcWin32::OpenRequest(const std::string& verb, const std::string& path, std::uint32_t flags) {
    m_hRequest.Reset(::HttpOpenRequestA(m_hConnection.Get(), verb.c_str(), path.c_str(), nullptr, "",
                                        nullptr, flags, 0));
    if (m_hRequest) {
        DWORD timeout = kReceiveTimeoutMilliseconds;
        ::InternetSetOptionA(m_hRequest.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    }
    return static_cast<bool>(m_hRequest);
}

bool PcWin32::Send(std::uint32_t& error) {
    if (::HttpSendRequestA(m_hRequest.Get(), nullptr, 0, nullptr, 0)) return true;
    error = ::GetLastError();
    return false;
}

bool PcWin32::QueryStatus(std::uint32_t& status) {
    DWORD code = 0;
    DWORD length = sizeof code;
    if (!::HttpQueryInfoA(m_hRequest.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code,
                          &length, nullptr)) {
        return false;
    }
    status = code;
    return true;
}

bool PcWin32::Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
    DWORD read = 0;
    const bool ok = ::InternetReadFile(m_hRequest.Get(), buffer, size, &read) != FALSE;
    bytesRead = read;
    return ok;
}
