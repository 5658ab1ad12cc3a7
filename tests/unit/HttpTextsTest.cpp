#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "probes/network/HttpProbe.h"

namespace {

// The codes the error table knows, in ascending order.
const std::uint32_t kKnownErrors[] = {
    6,     18,    234,   259,   12001, 12002, 12003, 12004, 12005, 12006, 12007, 12008, 12009,
    12010, 12011, 12012, 12013, 12014, 12015, 12016, 12017, 12018, 12019, 12020, 12021, 12022,
    12023, 12024, 12025, 12026, 12027, 12028, 12029, 12030, 12031, 12032, 12033, 12034, 12036,
    12037, 12038, 12039, 12040, 12041, 12042, 12043, 12044, 12045, 12046, 12047, 12048, 12049,
    12050, 12052, 12053, 12110, 12111, 12112, 12130, 12131, 12132, 12133, 12134, 12135, 12136,
    12137, 12138, 12150, 12151, 12152, 12153, 12154, 12155, 12156, 12157, 12158, 12159, 12160,
    12161, 12162, 12163, 12164, 12165, 12166, 12167, 12168, 12169, 12170, 12171};

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(HttpErrorText, EveryKnownCodeHasItsOwnSentenceEndingInAFullStopAndABlank) {
    ASSERT_EQ(std::size(kKnownErrors), 89u);
    std::set<std::string> seen;
    for (std::uint32_t code : kKnownErrors) {
        SCOPED_TRACE(code);
        const std::string text = HttpProbe::GetErrorText(code);
        EXPECT_NE(text, "Unknown error.");
        EXPECT_TRUE(seen.insert(text).second) << "text repeated: " << text;
        if (code == 259) {
            EXPECT_EQ(text, "No more items have been found.");
        } else {
            EXPECT_TRUE(EndsWith(text, ". ")) << '"' << text << '"';
            EXPECT_FALSE(EndsWith(text, "  "));
            EXPECT_GT(text.size(), 10u);
        }
    }
}

TEST(HttpErrorText, TheTextsUsersMeetAreWordForWord) {
    EXPECT_EQ(HttpProbe::GetErrorText(6),
              "The handle that was passed to the API has been either invalidated or closed. ");
    EXPECT_EQ(HttpProbe::GetErrorText(18), "No more files have been found. ");
    EXPECT_EQ(HttpProbe::GetErrorText(234), "More data is available. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12002), "The request has timed out. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12005), "The URL is invalid. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12007), "The server name could not be resolved. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12029), "The attempt to connect to the server failed. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12030), "The connection with the server has been terminated. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12031), "The connection with the server has been reset. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12037),
              "SSL certificate date that was received from the server is bad. The certificate is "
              "expired. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12044), "The server is requesting client authentication. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12045),
              "Certificate Authority that generated the server's certificate is invalid. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12152), "The server response could not be parsed. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12157),
              "The application experienced an internal error loading the SSL libraries. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12163), "The Internet connection has been lost. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12165), "The designated proxy server cannot be reached. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12169), "SSL certificate is invalid. ");
    EXPECT_EQ(HttpProbe::GetErrorText(12170), "SSL certificate was revoked. ");
}

TEST(HttpErrorText, TheHostNameMismatchTextGivesAnExampleAfterADash) {
    const std::string text = HttpProbe::GetErrorText(12038);
    const std::string head = "SSL certificate common name (host name field) is incorrect - ";
    EXPECT_EQ(text.compare(0, head.size(), head), 0) << text;
    EXPECT_TRUE(EndsWith(text, ". "));
}

TEST(HttpErrorText, CodesBetweenAndAroundTheKnownOnesAreUnknown) {
    for (std::uint32_t code : {0u, 5u, 7u, 258u, 260u, 12000u, 12035u, 12051u, 12054u, 12057u,
                               12109u, 12113u, 12139u, 12149u, 12172u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(HttpProbe::GetErrorText(code), "Unknown error.");
    }
}

TEST(HttpStatusText, ListedCodesHaveTheirPhraseAndGapsAreUnknown) {
    EXPECT_EQ(HttpProbe::GetStatusText(100), "Continue");
    EXPECT_EQ(HttpProbe::GetStatusText(203), "Non-Authoritative Information");
    EXPECT_EQ(HttpProbe::GetStatusText(307), "Temporary Redirect");
    EXPECT_EQ(HttpProbe::GetStatusText(414), "Request-URI Too Long");
    EXPECT_EQ(HttpProbe::GetStatusText(416), "Requested Range Not Suitable");
    EXPECT_EQ(HttpProbe::GetStatusText(505), "HTTP Version Not Supported");
    // Neighbours of the listed codes that the table leaves out.
    for (std::uint32_t code : {0u, 99u, 102u, 207u, 299u, 306u, 308u, 418u, 451u, 506u, 999u}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(HttpProbe::GetStatusText(code), "Unknown");
    }
}

}  // namespace
