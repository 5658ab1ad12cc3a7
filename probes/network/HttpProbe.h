// Plain HTTP and HTTPS reachability: one GET, judged by its status code.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A URL split into what a request needs. Of the scheme only "is it https" matters.
struct UrlParts {
    bool isHttps = false;
    std::string host;
    std::uint16_t port = 0;
    std::string path;
};

// What the probe asks of the HTTP client: one synchronous GET, step by step, so that every
// step's failure can be told apart. A client serves one request and releases it when it goes.
class HttpClient {
public:
    virtual ~HttpClient() = default;

    // Canonicalises and cracks `url`. False when it cannot be split.
    virtual bool Split(const std::string& url, UrlParts& parts) = 0;
    // Each step builds on the previous one; false when the client gives no handle.
    virtual bool Open(const std::string& userAgent) = 0;
    virtual bool Connect(const std::string& host, std::uint16_t port) = 0;
    virtual bool OpenRequest(const std::string& verb, const std::string& path,
                             std::uint32_t flags) = 0;
    // False when the request could not be sent; `error` then holds the client's code.
    virtual bool Send(std::uint32_t& error) = 0;
    // The numeric status code of the answer; false when it cannot be read.
    virtual bool QueryStatus(std::uint32_t& status) = 0;
    // Reads what the connection has ready of the body, at most `size` bytes, waiting only for
    // the first byte. False when the read fails; at the end of the body it succeeds with
    // `bytesRead` 0.
    virtual bool Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) = 0;
    // Milliseconds of a clock that wraps; only differences count.
    virtual std::uint32_t TickCount() = 0;
};

class HttpProbe {
public:
    static constexpr const char* kUserAgent = "Quellar Test Platform";
    // Reload, no cache write, keep connection; https adds the secure flag.
    static constexpr std::uint32_t kHttpRequestFlags = 0x84400000u;
    static constexpr std::uint32_t kHttpsRequestFlags = 0x84C00000u;
    static constexpr std::uint32_t kReadBufferSize = 32000u;
    // A server that never stops sending must not hold the dialog for ever; the status
    // has decided the verdict before the body is read.
    static constexpr std::uint32_t kBodyTimeLimitMilliseconds = 30000;
    // How long the client waits for each step of the answer: connecting, sending, receiving.
    static constexpr std::uint32_t kAnswerTimeoutMilliseconds = 60000;
    // The whole request, name look-up and proxy discovery included; a request still going
    // then is aborted and reported as timed out.
    static constexpr std::uint32_t kRequestDeadlineMilliseconds =
        kAnswerTimeoutMilliseconds + kBodyTimeLimitMilliseconds;
    static constexpr std::uint32_t kTimedOutError = 12002;

    // `client` is not owned and must outlive the probe.
    explicit HttpProbe(HttpClient& client) : m_client(client) {}

    // Requests `url` and reads its body. True for a status from 100 to 399. `message`
    // is overwritten with the reason phrase, the error text or a fixed failure text.
    bool TestUrl(const std::string& url, std::string& message);

    // English reason phrase of an HTTP status code; "Unknown" for codes not listed.
    static std::string GetStatusText(std::uint32_t code);
    // English description of a WinINet or Win32 error code; "Unknown error." otherwise.
    static std::string GetErrorText(std::uint32_t code);

private:
    void DrainBody();

    HttpClient& m_client;
};

// Jobs started side by side, each on a thread of its own.
class SideBySideJobs {
public:
    virtual ~SideBySideJobs() = default;
    // Returns once each job has ended or the deadline given at the start has passed; the clients
    // still busy then are aborted. An entry is false for a job that had not ended: it may still
    // run on, so everything it touches must be its own.
    virtual std::vector<bool> Wait() = 0;
};

// What the network items ask of the PC: a client per request, and requests side by side.
class NetworkSource {
public:
    virtual ~NetworkSource() = default;
    virtual std::unique_ptr<HttpClient> NewHttpClient() = 0;
    // Starts the jobs at once; their deadline counts from now.
    virtual std::unique_ptr<SideBySideJobs> StartSideBySide(
        const std::vector<std::function<void()>>& jobs, std::uint32_t deadlineMilliseconds) = 0;
};

struct UrlTestResult {
    bool reached = false;
    std::string message;
};

// Tests every URL with its own client, all at the same time, so that a dead network costs one
// deadline, not one per URL, and the caller goes on with other work meanwhile.
class PendingUrlTests {
public:
    PendingUrlTests(NetworkSource& network, const std::vector<std::string>& urls);
    // One result per URL, in their order, once every request has ended or its deadline has
    // passed: a request that had not ended then timed out.
    std::vector<UrlTestResult> Results();

private:
    struct Job;
    std::vector<std::shared_ptr<Job>> m_jobs;
    std::unique_ptr<SideBySideJobs> m_running;
};
