// What HttpProbe needs from an HTTP client: one synchronous GET, step by step, so that
// every step's failure can be told apart.
#pragma once

#include <cstdint>
#include <string>

// A URL split into what a request needs. Of the scheme only "is it https" matters.
struct UrlParts {
    bool isHttps = false;
    std::string host;
    std::uint16_t port = 0;
    std::string path;
};

class HttpClient {
public:
    virtual ~HttpClient() = default;

    // Releases every handle of an earlier request (request, connection, then session).
    virtual void Close() = 0;

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

    // Reads the next piece of the body. False when the read fails; at the end of the
    // body it succeeds with `bytesRead` 0.
    virtual bool Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) = 0;
};
