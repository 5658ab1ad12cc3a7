#include "probes/network/HttpProbe.h"

#include <algorithm>
#include <utility>
#include <vector>

HttpProbe::HttpProbe(std::unique_ptr<HttpClient> client, std::chrono::milliseconds bodyTimeLimit)
    : m_pClient(std::move(client)), m_bodyTimeLimit(bodyTimeLimit) {}

bool HttpProbe::TestUrl(const std::string& url, std::string& message) {
    // Handles of a previous call would otherwise stay open until the object goes.
    m_pClient->Close();

    UrlParts parts;
    if (!m_pClient->Split(url, parts)) {
        message = "Bad URL format.";
        return false;
    }
    const std::uint32_t flags = parts.isHttps ? kHttpsRequestFlags : kHttpRequestFlags;

    if (!m_pClient->Open(kUserAgent)) {
        message = "Can not connect to internet.";
        return false;
    }
    if (!m_pClient->Connect(parts.host, parts.port)) {
        message = "Can not open internet session.";
        return false;
    }
    if (!m_pClient->OpenRequest("GET", parts.path, flags)) {
        message = "Can not send request.";
        return false;
    }
    // Only a send that reports failure is judged by its error code: a stale last error
    // left behind by a successful send says nothing about this request.
    std::uint32_t error = 0;
    if (!m_pClient->Send(error)) {
        message = GetErrorText(error);
        return false;
    }
    std::uint32_t status = 0;
    if (!m_pClient->QueryStatus(status)) {
        message = "Application can not retreive status.";
        return false;
    }
    message = GetStatusText(status);
    if (status < 100 || status >= 400) return false;

    DrainBody();
    return true;
}

void HttpProbe::DrainBody() {
    std::vector<char> buffer(kReadBufferSize);
    const auto deadline = std::chrono::steady_clock::now() + m_bodyTimeLimit;
    for (;;) {
        std::uint32_t bytesRead = 0;
        // A failing read ends the body; the status has already given the verdict.
        if (!m_pClient->Read(buffer.data(), kReadBufferSize, bytesRead) || bytesRead == 0) break;
        std::fill_n(buffer.begin(), std::min(bytesRead, kReadBufferSize), '\0');
        if (std::chrono::steady_clock::now() >= deadline) break;
    }
}
