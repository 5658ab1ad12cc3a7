// HttpProbe's client over WinINet, synchronous, with the system's proxy settings.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Win32Handles.h"
#include "probes/network/HttpClient.h"
#include "probes/network/HttpProbe.h"

struct InternetHandleTraits {
    static HINTERNET Invalid() { return nullptr; }
    static void Close(HINTERNET h) { ::InternetCloseHandle(h); }
};
using UniqueInternetHandle = platform::UniqueHandle<HINTERNET, InternetHandleTraits>;

class WinInetClient final : public HttpClient {
public:
    // Without a receive time-out WinINet's own configured one applies; some WinINet builds
    // then wait for ever on a server that accepts and never answers.
    explicit WinInetClient(std::optional<std::chrono::milliseconds> receiveTimeout = std::nullopt)
        : m_receiveTimeout(receiveTimeout) {}
    WinInetClient(const WinInetClient&) = delete;
    WinInetClient& operator=(const WinInetClient&) = delete;
    ~WinInetClient() override { Close(); }

    void Close() override;
    bool Split(const std::string& url, UrlParts& parts) override;
    bool Open(const std::string& userAgent) override;
    bool Connect(const std::string& host, std::uint16_t port) override;
    bool OpenRequest(const std::string& verb, const std::string& path, std::uint32_t flags) override;
    bool Send(std::uint32_t& error) override;
    bool QueryStatus(std::uint32_t& status) override;
    bool Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) override;

private:
    std::optional<std::chrono::milliseconds> m_receiveTimeout;
    UniqueInternetHandle m_hSession;
    UniqueInternetHandle m_hRequest;
    UniqueInternetHandle m_hConnection;
};

// A test run must end: a server that accepts and then stays silent is given up after this.
inline constexpr std::chrono::milliseconds kProbeReceiveTimeout{60000};

// The probe the test run uses: WinINet with the system's configured proxy.
HttpProbe MakeHttpProbe(std::chrono::milliseconds bodyTimeLimit = HttpProbe::kDefaultBodyTimeLimit);
