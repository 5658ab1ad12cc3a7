// One GET per address: the text of each failing step, the passing statuses, the body's reading.
#include <gtest/gtest.h>

#include "FakePc.h"

constexpr char kUrl[] = "http://tarnvik.example/";
using Answer = FakePc::HttpAnswer;

TEST(HttpProbe, EachFailingStepHasItsTextAndOnlyStatuses100To399Pass) {
    const std::tuple<Answer::Step, std::uint32_t, std::uint32_t, const char*, bool> cases[] = {
        {Answer::Split, 0, 200, "Bad URL format.", false},
        {Answer::Open, 0, 200, "Can not connect to internet.", false},
        {Answer::Connect, 0, 200, "Can not open internet session.", false},
        {Answer::OpenRequest, 0, 200, "Can not send request.", false},
        {Answer::Send, 12007, 200, "The server name could not be resolved. ", false},
        {Answer::Status, 0, 200, "Application can not retreive status.", false},
        {Answer::None, 0, 99, "Unknown", false},
        {Answer::None, 0, 100, "Continue", true},
        {Answer::None, 0, 399, "Unknown", true},
        {Answer::None, 0, 400, "Bad Request", false},
    };
    FakePc pc;
    const auto client = pc.NewHttpClient();
    HttpProbe probe(*client);  // one object for every call
    const auto& log = pc.httpLog;
    for (const auto& [failsAt, error, status, text, passes] : cases) {
        SCOPED_TRACE(text);
        pc.http[kUrl] = {failsAt, error, status, 0, 1000};  // an endless drain would end at 30 s
        pc.httpLog.clear();
        std::string message = "stale";
        EXPECT_EQ(probe.TestUrl(kUrl, message), passes);
        EXPECT_EQ(message, text);
        EXPECT_EQ(log.front(), "close");  // what the last call left open goes first
        EXPECT_EQ(log.size() > 1 && log[1] == std::string("open ") + HttpProbe::kUserAgent,
                  failsAt != Answer::Split);  // no session for an address that cannot be split
        EXPECT_EQ(log.back() == "read", passes);
    }
}

TEST(HttpProbe, TheBodyIsReadToItsEndButForAtMostThirtySeconds) {
    constexpr std::int64_t kTickWrap = (1ll << 32) * 1000;
    const std::tuple<int, std::int64_t, std::int64_t> cases[] = {
        // pieces before the end, virtual start time, milliseconds spent reading
        {0, 0, 1}, {3, 0, 4}, {1 << 30, 0, 30000}, {1 << 30, kTickWrap - 5000, 30000},
    };
    for (const auto& [pieces, start, milliseconds] : cases) {
        FakePc pc;
        pc.microseconds = start;
        pc.http[kUrl] = {Answer::None, 0, 200, pieces, 1000};  // each read takes 1 ms
        std::string message;
        EXPECT_TRUE(HttpProbe(*pc.NewHttpClient()).TestUrl(kUrl, message));
        EXPECT_EQ(pc.microseconds - start, milliseconds * 1000) << pieces << " pieces from " << start;
    }
}
