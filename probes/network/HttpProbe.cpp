#include "probes/network/HttpProbe.h"

#include <algorithm>
#include <vector>

// The failure texts are kept exactly as users and support know them, "retreive" and the
// open/connect texts that name each other's step included: do not correct them.

bool HttpProbe::TestUrl(const std::string& url, std::string& message) {
    UrlParts parts;
    if (!m_client.Split(url, parts)) {
        message = "Bad URL format.";
        return false;
    }
    const std::uint32_t flags = parts.isHttps ? kHttpsRequestFlags : kHttpRequestFlags;

    if (!m_client.Open(kUserAgent)) {
        message = "Can not connect to internet.";
        return false;
    }
    if (!m_client.Connect(parts.host, parts.port)) {
        message = "Can not open internet session.";
        return false;
    }
    if (!m_client.OpenRequest("GET", parts.path, flags)) {
        message = "Can not send request.";
        return false;
    }
    // Only a send that reports failure is judged by its error code: a stale last error
    // left behind by a successful send says nothing about this request.
    std::uint32_t error = 0;
    if (!m_client.Send(error)) {
        message = GetErrorText(error);
        return false;
    }
    std::uint32_t status = 0;
    if (!m_client.QueryStatus(status)) {
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
    const std::uint32_t start = m_client.TickCount();
    for (;;) {
        std::uint32_t bytesRead = 0;
        // A failing read ends the body; the status has already given the verdict.
        if (!m_client.Read(buffer.data(), kReadBufferSize, bytesRead) || bytesRead == 0) break;
        std::fill_n(buffer.begin(), std::min(bytesRead, kReadBufferSize), '\0');
        if (m_client.TickCount() - start >= kBodyTimeLimitMilliseconds) break;
    }
}

// Each job owns its client, URL and result: one given up at the deadline may still run.
struct PendingUrlTests::Job {
    std::unique_ptr<HttpClient> client;
    std::string url;
    UrlTestResult result;
};

PendingUrlTests::PendingUrlTests(NetworkSource& network, const std::vector<std::string>& urls) {
    std::vector<std::function<void()>> work;
    for (const std::string& url : urls) {
        auto job = std::make_shared<Job>(Job{network.NewHttpClient(), url, UrlTestResult()});
        m_jobs.push_back(job);
        work.push_back([job] {
            job->result.reached = HttpProbe(*job->client).TestUrl(job->url, job->result.message);
        });
    }
    m_running = network.StartSideBySide(work, HttpProbe::kRequestDeadlineMilliseconds);
}

std::vector<UrlTestResult> PendingUrlTests::Results() {
    const std::vector<bool> ended = m_running->Wait();
    std::vector<UrlTestResult> results;
    for (std::size_t i = 0; i < m_jobs.size(); ++i) {
        if (i < ended.size() && ended[i]) {
            results.push_back(m_jobs[i]->result);
        } else {
            results.push_back({false, HttpProbe::GetErrorText(HttpProbe::kTimedOutError)});
        }
    }
    return results;
}
