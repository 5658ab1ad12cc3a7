#include <gtest/gtest.h>

#include "FakePc.h"

constexpr char kUrl[] = "http://tarnvik.example/";
using Answer = FakePc::HttpAnswer;

TEST(HttpProbe, EachFailingStepHasItsTextAndOnlyStatuses100To399Pass) {
    struct Case {
        Answer::Step failsAt;
        std::uint32_t error;
        std::uint32_t status;
        const char* message;
        bool passes;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        FakePc pc;
        pc.http[kUrl] = {c.failsAt, c.error, c.status};
        std::string message = "stale";
        EXPECT_EQ(HttpProbe(*pc.NewHttpClient()).TestUrl(kUrl, message), c.passes);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(pc.httpOpened, c.failsAt != Answer::Split);
    }
}

TEST(HttpProbe, OnlyTheHttpsRequestIsSecure) {
    FakePc pc;
    for (const char* url : {kUrl, "https://tarnvik.example/"}) {
        std::string message;
        HttpProbe(*pc.NewHttpClient()).TestUrl(url, message);
    }
    EXPECT_EQ(pc.requestFlags, (std::vector<std::uint32_t>{HttpProbe::kHttpRequestFlags,
                                                           HttpProbe::kHttpsRequestFlags}));
}

TEST(HttpProbe, ABodyThatNeverEndsIsReadOnlyUntilItsTimeLimit) {
    FakePc pc;
    pc.http[kUrl].trickles = true;
    std::string message;
    EXPECT_TRUE(HttpProbe(*pc.NewHttpClient()).TestUrl(kUrl, message));
    EXPECT_EQ(pc.microseconds, HttpProbe::kBodyTimeLimitMilliseconds * 1000ll);
}
