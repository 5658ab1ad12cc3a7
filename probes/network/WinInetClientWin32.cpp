#include "probes/network/WinInetClientWin32.h"

#include <memory>
#include <vector>

namespace {

// Room for each of host name and path: the longest URL WinINet handles.
constexpr DWORD kUrlPartLength = 2084;

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

void WinInetClient::Close() {
    // Children before their parents.
    m_hRequest.Reset();
    m_hConnection.Reset();
    m_hSession.Reset();
}

bool WinInetClient::Split(const std::string& url, UrlParts& parts) {
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

bool WinInetClient::Open(const std::string& userAgent) {
    m_hSession.Reset(::InternetOpenA(userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    return static_cast<bool>(m_hSession);
}

bool WinInetClient::Connect(const std::string& host, std::uint16_t port) {
    m_hConnection.Reset(::InternetConnectA(m_hSession.Get(), host.c_str(), port, "", "",
                                           INTERNET_SERVICE_HTTP, 0, 0));
    return static_cast<bool>(m_hConnection);
}

bool WinInetClient::OpenRequest(const std::string& verb, const std::string& path, std::uint32_t flags) {
    m_hRequest.Reset(::HttpOpenRequestA(m_hConnection.Get(), verb.c_str(), path.c_str(), nullptr, "",
                                        nullptr, flags, 0));
    if (m_hRequest && m_receiveTimeout) {
        DWORD timeout = static_cast<DWORD>(m_receiveTimeout->count());
        ::InternetSetOptionA(m_hRequest.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    }
    return static_cast<bool>(m_hRequest);
}

bool WinInetClient::Send(std::uint32_t& error) {
    if (::HttpSendRequestA(m_hRequest.Get(), nullptr, 0, nullptr, 0)) return true;
    error = ::GetLastError();
    return false;
}

bool WinInetClient::QueryStatus(std::uint32_t& status) {
    DWORD code = 0;
    DWORD length = sizeof code;
    if (!::HttpQueryInfoA(m_hRequest.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code,
                          &length, nullptr)) {
        return false;
    }
    status = code;
    return true;
}

bool WinInetClient::Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
    DWORD read = 0;
    const bool ok = ::InternetReadFile(m_hRequest.Get(), buffer, size, &read) != FALSE;
    bytesRead = read;
    return ok;
}

HttpProbe MakeHttpProbe(std::chrono::milliseconds bodyTimeLimit) {
    return HttpProbe(std::make_unique<WinInetClient>(kProbeReceiveTimeout), bodyTimeLimit);
}
