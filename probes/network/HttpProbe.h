// Plain HTTP and HTTPS reachability: one GET, judged by its status code.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "probes/network/HttpClient.h"

class HttpProbe {
public:
    static constexpr const char* kUserAgent = "Quellar Test Platform";
    // Reload, no cache write, keep connection; https adds the secure flag.
    static constexpr std::uint32_t kHttpRequestFlags = 0x84400000u;
    static constexpr std::uint32_t kHttpsRequestFlags = 0x84C00000u;
    static constexpr std::uint32_t kReadBufferSize = 32000u;
    // A server that never stops sending must not hold the dialog for ever; the status
    // has decided the verdict before the body is read.
    static constexpr std::chrono::milliseconds kDefaultBodyTimeLimit{30000};

    explicit HttpProbe(std::unique_ptr<HttpClient> client,
                       std::chrono::milliseconds bodyTimeLimit = kDefaultBodyTimeLimit);
    HttpProbe(HttpProbe&&) noexcept = default;
    HttpProbe& operator=(HttpProbe&&) noexcept = default;

    // Requests `url` and reads its body. True for a status from 100 to 399. `message`
    // is overwritten with the reason phrase, the error text or a fixed failure text.
    bool TestUrl(const std::string& url, std::string& message);

    // English reason phrase of an HTTP status code; "Unknown" for codes not listed.
    static std::string GetStatusText(std::uint32_t code);
    // English description of a WinINet or Win32 error code; "Unknown error." otherwise.
    static std::string GetErrorText(std::uint32_t code);

private:
    void DrainBody();

    std::unique_ptr<HttpClient> m_pClient;
    std::chrono::milliseconds m_bodyTimeLimit;
};
