#include "probes/network/HttpProbe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using std::chrono::milliseconds;

// Scripted client: each step succeeds unless told otherwise; every call is logged, and
// the log outlives the client so that its destruction can be checked.
struct ClientScript {
    bool splits = true;
    UrlParts parts{false, "www.example.org", 80, "/"};
    bool opens = true;
    bool connects = true;
    bool opensRequest = true;
    bool sends = true;
    std::uint32_t sendError = 0;
    bool queriesStatus = true;
    std::uint32_t status = 200;
    // Sizes the successive reads report; after them the body ends (0 bytes) unless
    // `endlessBody` keeps every further read full.
    std::vector<std::uint32_t> reads;
    bool readFailsAfterScript = false;
    bool endlessBody = false;
    milliseconds readDelay{0};
};

struct CallLog {
    std::vector<std::string> calls;
    int reads = 0;
    bool destroyed = false;
    bool bufferWasClean = true;
};

class FakeHttpClient : public HttpClient {
public:
    FakeHttpClient(const ClientScript& script, CallLog& log) : m_script(script), m_log(log) {}
    ~FakeHttpClient() override { m_log.destroyed = true; }

    void Close() override { m_log.calls.push_back("Close"); }
    bool Split(const std::string& url, UrlParts& parts) override {
        m_log.calls.push_back("Split " + url);
        if (m_script.splits) parts = m_script.parts;
        return m_script.splits;
    }
    bool Open(const std::string& userAgent) override {
        m_log.calls.push_back("Open " + userAgent);
        return m_script.opens;
    }
    bool Connect(const std::string& host, std::uint16_t port) override {
        m_log.calls.push_back("Connect " + host + ":" + std::to_string(port));
        return m_script.connects;
    }
    bool OpenRequest(const std::string& verb, const std::string& path, std::uint32_t flags) override {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", flags);
        m_log.calls.push_back("OpenRequest " + verb + " " + path + " " + hex);
        return m_script.opensRequest;
    }
    bool Send(std::uint32_t& error) override {
        m_log.calls.push_back("Send");
        error = m_script.sendError;
        return m_script.sends;
    }
    bool QueryStatus(std::uint32_t& status) override {
        m_log.calls.push_back("QueryStatus");
        if (m_script.queriesStatus) status = m_script.status;
        return m_script.queriesStatus;
    }
    bool Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) override {
        if (m_log.reads == 0) m_log.calls.push_back("Read " + std::to_string(size));
        for (std::uint32_t i = 0; i < size; ++i) {
            if (buffer[i] != '\0') m_log.bufferWasClean = false;
        }
        const auto index = static_cast<std::size_t>(m_log.reads++);
        if (m_script.readDelay.count() > 0) std::this_thread::sleep_for(m_script.readDelay);
        if (index < m_script.reads.size()) {
            bytesRead = m_script.reads[index];
        } else if (m_script.endlessBody) {
            bytesRead = size;
        } else {
            bytesRead = 0;
            return !m_script.readFailsAfterScript;
        }
        for (std::uint32_t i = 0; i < bytesRead && i < size; ++i) buffer[i] = 'x';
        return true;
    }

private:
    ClientScript m_script;
    CallLog& m_log;
};

struct Outcome {
    bool passed;
    std::string message;
};

Outcome RunProbe(const ClientScript& script, CallLog& log, const std::string& url = "http://www.example.org/",
            milliseconds bodyTimeLimit = HttpProbe::kDefaultBodyTimeLimit) {
    HttpProbe probe(std::make_unique<FakeHttpClient>(script, log), bodyTimeLimit);
    Outcome outcome{true, "sentinel"};
    outcome.passed = probe.TestUrl(url, outcome.message);
    return outcome;
}

std::vector<std::string> CallsBefore(const CallLog& log, const std::string& stop) {
    std::vector<std::string> names;
    for (const std::string& call : log.calls) {
        if (call.rfind(stop, 0) == 0) break;
        names.push_back(call);
    }
    return names;
}

TEST(HttpProbeSteps, AHealthyRequestRunsEveryStepInOrderWithTheFixedValues) {
    ClientScript script;
    script.parts = {false, "www.example.org", 80, "/index.html"};
    script.reads = {32000, 1200};
    CallLog log;
    const Outcome outcome = RunProbe(script, log, "http://www.example.org/index.html");
    EXPECT_TRUE(outcome.passed);
    EXPECT_EQ(outcome.message, "OK");
    EXPECT_EQ(log.calls, (std::vector<std::string>{
                             "Close", "Split http://www.example.org/index.html",
                             "Open Quellar Test Platform", "Connect www.example.org:80",
                             "OpenRequest GET /index.html 84400000", "Send", "QueryStatus",
                             "Read 32000"}));
    EXPECT_EQ(log.reads, 3);  // two pieces, then the end of the body
    EXPECT_TRUE(log.bufferWasClean);
}

TEST(HttpProbeSteps, HttpsAddsTheSecureFlagAndThePortIsPassedOnAsSplit) {
    ClientScript script;
    script.parts = {true, "sync.example.org", 443, "/es/logon.asp"};
    CallLog log;
    EXPECT_TRUE(RunProbe(script, log, "https://sync.example.org/es/logon.asp").passed);
    EXPECT_EQ(log.calls[3], "Connect sync.example.org:443");
    EXPECT_EQ(log.calls[4], "OpenRequest GET /es/logon.asp 84C00000");

    script.parts = {true, "sync.example.org", 8443, "/"};
    CallLog explicitPort;
    EXPECT_TRUE(RunProbe(script, explicitPort).passed);
    EXPECT_EQ(explicitPort.calls[3], "Connect sync.example.org:8443");

    script.parts = {false, "www.example.org", 8080, "/"};
    CallLog plainExplicit;
    EXPECT_TRUE(RunProbe(script, plainExplicit).passed);
    EXPECT_EQ(plainExplicit.calls[3], "Connect www.example.org:8080");
    EXPECT_EQ(plainExplicit.calls[4], "OpenRequest GET / 84400000");
}

// Each failing step gives its own fixed text, fails, and stops the chain right there.
TEST(HttpProbeSteps, EveryFailingStepHasItsTextAndNothingRunsAfterIt) {
    struct Row {
        const char* name;
        void (*breakIt)(ClientScript&);
        const char* message;
        const char* lastCall;
    };
    const Row rows[] = {
        {"split", [](ClientScript& s) { s.splits = false; }, "Bad URL format.", "Split"},
        {"open", [](ClientScript& s) { s.opens = false; }, "Can not connect to internet.", "Open"},
        {"connect", [](ClientScript& s) { s.connects = false; }, "Can not open internet session.",
         "Connect"},
        {"request", [](ClientScript& s) { s.opensRequest = false; }, "Can not send request.",
         "OpenRequest"},
        {"send", [](ClientScript& s) {
             s.sends = false;
             s.sendError = 12029;
         },
         "The attempt to connect to the server failed. ", "Send"},
        {"status", [](ClientScript& s) { s.queriesStatus = false; },
         "Application can not retreive status.", "QueryStatus"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ClientScript script;
        row.breakIt(script);
        CallLog log;
        const Outcome outcome = RunProbe(script, log);
        EXPECT_FALSE(outcome.passed);
        EXPECT_EQ(outcome.message, row.message);
        ASSERT_FALSE(log.calls.empty());
        EXPECT_EQ(log.calls.back().rfind(row.lastCall, 0), 0u) << log.calls.back();
        EXPECT_EQ(log.reads, 0);
    }
}

TEST(HttpProbeSteps, AUrlThatCannotBeSplitNeverOpensASession) {
    ClientScript script;
    script.splits = false;
    CallLog log;
    const Outcome outcome = RunProbe(script, log, "www.example.org/");
    EXPECT_FALSE(outcome.passed);
    EXPECT_EQ(outcome.message, "Bad URL format.");
    EXPECT_EQ(CallsBefore(log, "Open").size(), log.calls.size());
}

TEST(HttpProbeSend, AFailedSendReportsItsOwnErrorCodeWhateverItIs) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {12007, "The server name could not be resolved. "},
        {12002, "The request has timed out. "},
        {12057, "Unknown error."},  // a code the table does not know
        {0, "Unknown error."},      // a failure that left no code behind
    };
    for (const auto& [code, message] : cases) {
        SCOPED_TRACE(code);
        ClientScript script;
        script.sends = false;
        script.sendError = code;
        CallLog log;
        const Outcome outcome = RunProbe(script, log);
        EXPECT_FALSE(outcome.passed);
        EXPECT_EQ(outcome.message, message);
    }
}

TEST(HttpProbeSend, ASuccessfulSendGoesOnToTheStatusEvenWithAStaleErrorCode) {
    ClientScript script;
    script.sendError = 12007;  // left in the thread's last error by someone else
    script.status = 404;
    CallLog log;
    const Outcome outcome = RunProbe(script, log);
    EXPECT_FALSE(outcome.passed);
    EXPECT_EQ(outcome.message, "Not Found");
    EXPECT_EQ(log.calls.back(), "QueryStatus");
}

TEST(HttpProbeVerdict, ThePassRangeIsFrom100To399) {
    const struct {
        std::uint32_t status;
        bool passes;
        const char* message;
    } cases[] = {
        {0, false, "Unknown"},
        {99, false, "Unknown"},
        {100, true, "Continue"},
        {200, true, "OK"},
        {204, true, "No Content"},
        {304, true, "Not Modified"},
        {306, true, "Unknown"},  // inside the range, not in the table
        {399, true, "Unknown"},
        {400, false, "Bad Request"},
        {404, false, "Not Found"},
        {418, false, "Unknown"},  // outside the range, not in the table
        {500, false, "Internal Server Error"},
        {0xFFFFFFFFu, false, "Unknown"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        ClientScript script;
        script.status = c.status;
        script.reads = {10};
        CallLog log;
        const Outcome outcome = RunProbe(script, log);
        EXPECT_EQ(outcome.passed, c.passes);
        EXPECT_EQ(outcome.message, c.message);
        // Only a passing status reads the body.
        EXPECT_EQ(log.reads, c.passes ? 2 : 0);
    }
}

TEST(HttpProbeBody, AnEmptyBodyPasses) {
    CallLog log;
    const Outcome outcome = RunProbe(ClientScript{}, log);
    EXPECT_TRUE(outcome.passed);
    EXPECT_EQ(outcome.message, "OK");
    EXPECT_EQ(log.reads, 1);
}

TEST(HttpProbeBody, AReadThatFailsAfterTheStatusKeepsThePass) {
    ClientScript script;
    script.reads = {32000, 32000};
    script.readFailsAfterScript = true;
    CallLog log;
    const Outcome outcome = RunProbe(script, log);
    EXPECT_TRUE(outcome.passed);
    EXPECT_EQ(outcome.message, "OK");
    EXPECT_EQ(log.reads, 3);
}

TEST(HttpProbeBody, AnEndlessBodyIsLeftWhenTheTimeLimitRunsOut) {
    ClientScript script;
    script.endlessBody = true;
    CallLog immediate;
    // With no time at all the first piece is the only one.
    EXPECT_TRUE(RunProbe(script, immediate, "http://www.example.org/", milliseconds(0)).passed);
    EXPECT_EQ(immediate.reads, 1);

    script.readDelay = milliseconds(2);
    CallLog bounded;
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = RunProbe(script, bounded, "http://www.example.org/", milliseconds(60));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(outcome.passed);
    EXPECT_EQ(outcome.message, "OK");
    EXPECT_GT(bounded.reads, 1);
    EXPECT_GE(elapsed, milliseconds(60));
    EXPECT_LT(elapsed, milliseconds(5000));
}

TEST(HttpProbeBody, AFiniteBodyIsReadToItsEndWithinTheLimit) {
    ClientScript script;
    script.reads = std::vector<std::uint32_t>(500, 32000);
    CallLog log;
    EXPECT_TRUE(RunProbe(script, log).passed);
    EXPECT_EQ(log.reads, 501);
}

TEST(HttpProbeLifetime, EveryCallFirstReleasesTheHandlesOfTheCallBefore) {
    CallLog log;
    {
        ClientScript script;
        script.status = 404;
        HttpProbe probe(std::make_unique<FakeHttpClient>(script, log));
        std::string message;
        EXPECT_FALSE(probe.TestUrl("http://www.example.org/", message));
        EXPECT_EQ(message, "Not Found");
        const std::size_t firstCallEnd = log.calls.size();
        // The second call overwrites the message and starts with a release.
        EXPECT_FALSE(probe.TestUrl("http://www.example.org/", message));
        EXPECT_EQ(message, "Not Found");
        ASSERT_GT(log.calls.size(), firstCallEnd);
        EXPECT_EQ(log.calls[firstCallEnd], "Close");
        EXPECT_FALSE(log.destroyed);
    }
    EXPECT_TRUE(log.destroyed);  // the client, and with it every handle, goes with the probe
}

TEST(HttpProbeLifetime, TheMessageIsOverwrittenNotAppended) {
    ClientScript script;
    script.splits = false;
    CallLog log;
    HttpProbe probe(std::make_unique<FakeHttpClient>(script, log));
    std::string message = "OK";
    EXPECT_FALSE(probe.TestUrl("nonsense", message));
    EXPECT_EQ(message, "Bad URL format.");
}

}  // namespace
