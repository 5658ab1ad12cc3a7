// WinINet adapter of HttpProbe under Wine. Cases that need the loopback servers read
// their ports from the environment (tests/e2e/servers/run_with_servers.py) and are
// skipped without them; nothing here talks to a real host.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "TestUrls.h"
#include "Win32TestSupport.h"
#include "probes/network/WinInetClientWin32.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The loopback server's port from `variable`; the test is skipped without one.
#define REQUIRE_SERVER(variable, port)                                                            \
    const char* port##Text = std::getenv(variable);                                               \
    if (!port##Text || !*port##Text) GTEST_SKIP() << variable << " not set: no loopback servers"; \
    const int port = std::atoi(port##Text)

std::string Url(const char* scheme, const char* host, int port, const std::string& path) {
    return std::string(scheme) + "://" + host + ":" + std::to_string(port) + path;
}

struct Outcome {
    bool passed;
    std::string message;
};

Outcome Probe(const std::string& url, milliseconds bodyTimeLimit = HttpProbe::kDefaultBodyTimeLimit) {
    HttpProbe probe = MakeHttpProbe(bodyTimeLimit);
    Outcome outcome{true, "sentinel"};
    outcome.passed = probe.TestUrl(url, outcome.message);
    return outcome;
}

// The error code WinINet itself reports for a plain GET of `url` with the probe's flags:
// what the probe's text must be made from.
DWORD PlatformSendError(const std::string& url,
                        std::optional<milliseconds> receiveTimeout = std::nullopt) {
    WinInetClient client(receiveTimeout);
    UrlParts parts;
    if (!client.Split(url, parts) || !client.Open("adapter test") ||
        !client.Connect(parts.host, parts.port) ||
        !client.OpenRequest("GET", parts.path,
                            parts.isHttps ? HttpProbe::kHttpsRequestFlags : HttpProbe::kHttpRequestFlags)) {
        return 0xFFFFFFFFu;
    }
    std::uint32_t error = 0;
    return client.Send(error) ? 0 : error;
}

// Splitting needs no server.

TEST(HttpProbeWin32Split, TheSchemeDecidesTheDefaultPortAndAWrittenPortWins) {
    // 2070 characters of path: the URL outgrows 2084 characters, the path alone does not.
    const std::string longPath = "/" + std::string(2069, 'p');
    const struct {
        std::string url;
        bool https;
        const char* host;
        int port;
        std::string path;
    } cases[] = {
        {"http://www.example.org/", false, "www.example.org", 80, "/"},
        {"https://sync.example.org/es/logon.asp", true, "sync.example.org", 443, "/es/logon.asp"},
        {"http://www.example.org:8080/a/b?c=1", false, "www.example.org", 8080, "/a/b?c=1"},
        {"https://sync.example.org:8443/", true, "sync.example.org", 8443, "/"},
        {"HTTPS://Sync.Example.org/x", true, "Sync.Example.org", 443, "/x"},
        {"ftp://files.example.org/pub/x.txt", false, "files.example.org", 21, "/pub/x.txt"},
        {"http://www.example.org/a b.html", false, "www.example.org", 80, "/a%20b.html"},  // browser mode
        {"http://www.example.org" + longPath, false, "www.example.org", 80, longPath},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url.substr(0, 60));
        WinInetClient client;
        UrlParts parts{!c.https, "sentinel", 1, "sentinel"};
        ASSERT_TRUE(client.Split(c.url, parts));
        EXPECT_EQ(parts.isHttps, c.https);
        EXPECT_EQ(parts.host, c.host);
        EXPECT_EQ(parts.port, c.port);
        EXPECT_EQ(parts.path, c.path);
    }
}

TEST(HttpProbeWin32Probe, FailuresBeforeAnyAnswerHaveTheirTexts) {
    const struct {
        std::string url;
        const char* message;
    } cases[] = {
        {"www.example.org/", "Bad URL format."},
        {"http://www.example.org/" + std::string(3000, 'p'), "Bad URL format."},  // path too long
        {"", "Bad URL format."},
        {"not a url", "Bad URL format."},
        {"http://no-such-host.invalid/", "The server name could not be resolved. "},
        {"http://127.0.0.1:1/", "The attempt to connect to the server failed. "},  // nobody listening
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url.substr(0, 60));
        const Outcome outcome = Probe(c.url);
        EXPECT_FALSE(outcome.passed);
        EXPECT_EQ(outcome.message, c.message);
    }
    EXPECT_EQ(HttpProbe::GetErrorText(PlatformSendError("http://127.0.0.1:1/")),
              "The attempt to connect to the server failed. ");
}

// Plain HTTP against the scripted loopback server.

TEST(HttpProbeWin32Http, TheStatusDecidesTheVerdictAndTheText) {
    REQUIRE_SERVER("TARNVIK_TEST_HTTP_PORT", port);
    const struct {
        const char* path;
        bool passes;
        const char* message;
    } cases[] = {
        {"/ok", true, "OK"},
        {"/empty", true, "OK"},
        {"/status/204", true, "No Content"},
        {"/redirect", true, "OK"},  // 301 followed to a 200
        {"/status/304", true, "Not Modified"},
        {"/status/306", true, "Unknown"},
        {"/status/404", false, "Not Found"},
        {"/status/418", false, "Unknown"},
        {"/status/500", false, "Internal Server Error"},
        {"/reset", true, "OK"},  // reset in the middle of the body
        {"/bytes/104857600", true, "OK"},  // read to its end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const Outcome outcome = Probe(Url("http", "127.0.0.1", port, c.path));
        EXPECT_EQ(outcome.passed, c.passes);
        EXPECT_EQ(outcome.message, c.message);
    }
}

TEST(HttpProbeWin32Http, TheSecondCallOnOneObjectOverwritesTheFirst) {
    REQUIRE_SERVER("TARNVIK_TEST_HTTP_PORT", port);
    HttpProbe probe = MakeHttpProbe();
    std::string message = "sentinel";
    EXPECT_FALSE(probe.TestUrl(Url("http", "127.0.0.1", port, "/status/404"), message));
    EXPECT_EQ(message, "Not Found");
    EXPECT_TRUE(probe.TestUrl(Url("http", "127.0.0.1", port, "/ok"), message));
    EXPECT_EQ(message, "OK");
    EXPECT_FALSE(probe.TestUrl("no scheme", message));
    EXPECT_EQ(message, "Bad URL format.");
}

TEST(HttpProbeWin32Http, ABodyThatNeverEndsIsLeftAfterTheTimeLimit) {
    REQUIRE_SERVER("TARNVIK_TEST_HTTP_PORT", port);
    const auto start = steady_clock::now();
    const Outcome outcome = Probe(Url("http", "127.0.0.1", port, "/endless"), milliseconds(1000));
    const auto elapsed = steady_clock::now() - start;
    EXPECT_TRUE(outcome.passed);
    EXPECT_EQ(outcome.message, "OK");
    EXPECT_GE(elapsed, milliseconds(1000));
    EXPECT_LT(elapsed, milliseconds(20000));
}

TEST(HttpProbeWin32Http, AServerThatNeverAnswersEndsOnceTheReceiveTimeOutRunsOut) {
    REQUIRE_SERVER("TARNVIK_TEST_SILENT_PORT", port);
    // The program leaves WinINet's own receive time-out, which may be endless; Wine ignores
    // the process-wide option, so this client sets a short one on its request.
    const std::string url = Url("http", "127.0.0.1", port, "/");
    HttpProbe probe(std::make_unique<WinInetClient>(milliseconds(2000)));
    std::string message = "sentinel";
    const auto start = steady_clock::now();
    EXPECT_FALSE(probe.TestUrl(url, message));
    const auto elapsed = steady_clock::now() - start;
    // Windows reports a time-out; Wine reports the connection as terminated.
    const DWORD code = PlatformSendError(url, milliseconds(500));
    EXPECT_TRUE(code == ERROR_INTERNET_TIMEOUT || code == ERROR_INTERNET_CONNECTION_ABORTED) << code;
    EXPECT_EQ(message, HttpProbe::GetErrorText(code));
    std::printf("[   INFO   ] never answering: code %lu, \"%s\"\n", code, message.c_str());
    EXPECT_GE(elapsed, milliseconds(1500));
    EXPECT_LT(elapsed, milliseconds(30000));
}

// HTTPS: a CA that the prefix trusts; certificate problems fail with the platform's code text.
TEST(HttpProbeWin32Https, OnlyACertificateFromTheTrustedTestCaPasses) {
    const struct {
        const char* variable;
        const char* name;
        bool trusted;
    } cases[] = {
        {"TARNVIK_TEST_HTTPS_PORT", "trusted", true},
        {"TARNVIK_TEST_HTTPS_EXPIRED_PORT", "expired", false},
        {"TARNVIK_TEST_HTTPS_WRONG_HOST_PORT", "wrong host", false},
        {"TARNVIK_TEST_HTTPS_UNTRUSTED_PORT", "untrusted CA", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        REQUIRE_SERVER(c.variable, port);
        const std::string url = Url("https", "localhost", port, "/es/logon.asp");
        const DWORD code = PlatformSendError(url);
        EXPECT_EQ(code == 0, c.trusted) << "code " << code;
        const Outcome outcome = Probe(url);
        EXPECT_EQ(outcome.passed, c.trusted);
        EXPECT_EQ(outcome.message, c.trusted ? "OK" : HttpProbe::GetErrorText(code)) << "code " << code;
        std::printf("[   INFO   ] %s certificate: code %lu, \"%s\"\n", c.name, code, outcome.message.c_str());
    }
}

// Through the proxy of the system's Internet Settings: the program's own addresses.

TEST(HttpProbeWin32Proxy, TheProgramsAddressesReachTheLoopbackServers) {
    REQUIRE_SERVER("TARNVIK_TEST_PROXY_PORT", port);
    win32test::TestKey settings(HKEY_CURRENT_USER,
                                "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings");
    settings.SetDword("ProxyEnable", 1);
    settings.SetString("ProxyServer", "127.0.0.1:" + std::to_string(port));

    const Outcome http = Probe(config::kPublicTestUrl);
    EXPECT_TRUE(http.passed);
    EXPECT_EQ(http.message, "OK");

    const Outcome https = Probe(config::kServiceLogonUrl);
    EXPECT_TRUE(https.passed);
    EXPECT_EQ(https.message, "OK");

    // A host the proxy does not know: its 502 is the verdict.
    const Outcome unknown = Probe("http://unknown-host.invalid/");
    EXPECT_FALSE(unknown.passed);
    EXPECT_EQ(unknown.message, "Bad Gateway");
}

}  // namespace
