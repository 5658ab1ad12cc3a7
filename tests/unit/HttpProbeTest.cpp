#include "probes/network/HttpProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using std::chrono::milliseconds;

// What the scripted server does, and what the client was asked; it outlives the client so
// that the client's destruction can be seen. Every step succeeds except `failAt`.
struct Server {
    std::string failAt;
    UrlParts parts{false, "www.example.org", 80, "/"};
    std::uint32_t sendError = 0;
    std::uint32_t status = 200;
    // Sizes of the successive pieces of the body; after them the body ends (a read of 0
    // bytes), or the read fails, or every further read comes back full.
    std::vector<std::uint32_t> pieces;
    bool readFailsAtEnd = false;
    bool endlessBody = false;

    std::vector<std::string> calls;
    int reads = 0;
    bool bufferWasClean = true;
    bool clientDestroyed = false;
};

class FakeHttpClient : public HttpClient {
public:
    explicit FakeHttpClient(Server& server) : s(server) {}
    ~FakeHttpClient() override { s.clientDestroyed = true; }

    void Close() override { s.calls.push_back("Close"); }
    bool Split(const std::string& url, UrlParts& parts) override {
        parts = s.parts;
        return Step("Split", "Split " + url);
    }
    bool Open(const std::string& userAgent) override { return Step("Open", "Open " + userAgent); }
    bool Connect(const std::string& host, std::uint16_t port) override {
        return Step("Connect", "Connect " + host + ":" + std::to_string(port));
    }
    bool OpenRequest(const std::string& verb, const std::string& path, std::uint32_t flags) override {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", flags);
        return Step("OpenRequest", "OpenRequest " + verb + " " + path + " " + hex);
    }
    bool Send(std::uint32_t& error) override {
        error = s.sendError;
        return Step("Send", "Send");
    }
    bool QueryStatus(std::uint32_t& status) override {
        status = s.status;
        return Step("QueryStatus", "QueryStatus");
    }
    bool Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) override {
        if (s.reads == 0) s.calls.push_back("Read " + std::to_string(size));
        s.bufferWasClean = s.bufferWasClean && std::all_of(buffer, buffer + size,
                                                           [](char c) { return c == '\0'; });
        const auto index = static_cast<std::size_t>(s.reads++);
        bytesRead = index < s.pieces.size() ? s.pieces[index] : s.endlessBody ? size : 0;
        std::fill_n(buffer, std::min(bytesRead, size), 'x');
        return bytesRead > 0 || !s.readFailsAtEnd;
    }

private:
    bool Step(const std::string& name, const std::string& call) {
        s.calls.push_back(call);
        return s.failAt != name;
    }

    Server& s;
};

// The verdict and the message.
std::pair<bool, std::string> RunProbe(Server& server,
                                      milliseconds limit = HttpProbe::kDefaultBodyTimeLimit) {
    HttpProbe probe(std::make_unique<FakeHttpClient>(server), limit);
    std::string message = "sentinel";  // to be overwritten, not appended to
    const bool passed = probe.TestUrl("http://www.example.org/index.html", message);
    return {passed, message};
}

// The port is passed on as split, whatever the scheme.
TEST(HttpProbeSteps, AHealthyRequestRunsEveryStepInOrderWithTheFixedValues) {
    Server server;
    server.parts = {false, "www.example.org", 8080, "/index.html"};
    server.pieces = {32000, 1200};
    const auto [passed, message] = RunProbe(server);
    EXPECT_TRUE(passed);
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(server.calls, (std::vector<std::string>{
                                "Close", "Split http://www.example.org/index.html",
                                "Open Quellar Test Platform", "Connect www.example.org:8080",
                                "OpenRequest GET /index.html 84400000", "Send", "QueryStatus",
                                "Read 32000"}));
    EXPECT_EQ(server.reads, 3);  // two pieces, then the end of the body
    EXPECT_TRUE(server.bufferWasClean);
}

TEST(HttpProbeSteps, HttpsAddsTheSecureFlagAndThePortIsPassedOnAsSplit) {
    Server server;
    server.parts = {true, "sync.example.org", 8443, "/es/logon.asp"};
    EXPECT_TRUE(RunProbe(server).first);
    ASSERT_GE(server.calls.size(), 5u);
    EXPECT_EQ(server.calls[3], "Connect sync.example.org:8443");
    EXPECT_EQ(server.calls[4], "OpenRequest GET /es/logon.asp 84C00000");
}

// Each failing step gives its own text, fails, and stops the chain right there; a failed
// send is described by its own error code, whatever it is.
TEST(HttpProbeSteps, EveryFailingStepHasItsTextAndNothingRunsAfterIt) {
    const struct {
        const char* step;
        std::uint32_t sendError;
        const char* message;
    } cases[] = {
        {"Split", 0, "Bad URL format."},
        {"Open", 0, "Can not connect to internet."},
        {"Connect", 0, "Can not open internet session."},
        {"OpenRequest", 0, "Can not send request."},
        {"Send", 12029, "The attempt to connect to the server failed. "},
        {"Send", 12057, "Unknown error."},  // a code the table does not know
        {"Send", 0, "Unknown error."},      // a failure that left no code behind
        {"QueryStatus", 0, "Application can not retreive status."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.step) + " " + std::to_string(c.sendError));
        Server server;
        server.failAt = c.step;
        server.sendError = c.sendError;
        const auto [passed, message] = RunProbe(server);
        EXPECT_FALSE(passed);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(server.calls.back().rfind(c.step, 0), 0u) << server.calls.back();
        EXPECT_EQ(server.reads, 0);
    }
}

// A stale error code left behind by a successful send says nothing: the status decides.
TEST(HttpProbeVerdict, ThePassRangeIsFrom100To399) {
    const struct {
        std::uint32_t status;
        bool passes;
        const char* message;
    } cases[] = {
        {0, false, "Unknown"},       {99, false, "Unknown"},
        {100, true, "Continue"},     {204, true, "No Content"},
        {304, true, "Not Modified"}, {306, true, "Unknown"},  // inside the range, not listed
        {399, true, "Unknown"},      {400, false, "Bad Request"},
        {418, false, "Unknown"},     {500, false, "Internal Server Error"},
        {0xFFFFFFFFu, false, "Unknown"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Server server;
        server.status = c.status;
        server.sendError = 12007;
        server.pieces = {10};
        const auto [passed, message] = RunProbe(server);
        EXPECT_EQ(passed, c.passes);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(server.reads, c.passes ? 2 : 0);  // only a passing status reads the body
    }
}

// The status has given the verdict: how the body ends never changes it.
TEST(HttpProbeBody, TheBodyIsReadUntilItEndsOrAReadFails) {
    const struct {
        const char* what;
        std::vector<std::uint32_t> pieces;
        bool failsAtEnd;
        int reads;
    } cases[] = {
        {"empty body", {}, false, 1},
        {"failing read", {32000, 32000}, true, 3},
        {"long body", std::vector<std::uint32_t>(500, 32000), false, 501},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Server server;
        server.pieces = c.pieces;
        server.readFailsAtEnd = c.failsAtEnd;
        const auto [passed, message] = RunProbe(server);
        EXPECT_TRUE(passed && message == "OK") << message;
        EXPECT_EQ(server.reads, c.reads);
    }
}

TEST(HttpProbeBody, AnEndlessBodyIsLeftWhenTheTimeLimitRunsOut) {
    Server immediate;
    immediate.endlessBody = true;
    // With no time at all the first piece is the only one.
    EXPECT_TRUE(RunProbe(immediate, milliseconds(0)).first);
    EXPECT_EQ(immediate.reads, 1);

    Server bounded;
    bounded.endlessBody = true;
    const auto start = std::chrono::steady_clock::now();
    const auto [passed, message] = RunProbe(bounded, milliseconds(60));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(passed && message == "OK") << message;
    EXPECT_GT(bounded.reads, 1);
    EXPECT_GE(elapsed, milliseconds(60));
    EXPECT_LT(elapsed, milliseconds(5000));
}

TEST(HttpProbeLifetime, EveryCallFirstReleasesTheHandlesOfTheCallBefore) {
    Server server;
    server.status = 404;
    {
        HttpProbe probe(std::make_unique<FakeHttpClient>(server));
        std::string message;
        EXPECT_FALSE(probe.TestUrl("http://www.example.org/", message));
        const std::size_t firstCallEnd = server.calls.size();
        EXPECT_FALSE(probe.TestUrl("http://www.example.org/", message));
        ASSERT_GT(server.calls.size(), firstCallEnd);
        EXPECT_EQ(server.calls[firstCallEnd], "Close");
        EXPECT_FALSE(server.clientDestroyed);
    }
    EXPECT_TRUE(server.clientDestroyed);  // every handle goes with the client and the probe
}

}  // namespace
