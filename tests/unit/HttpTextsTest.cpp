#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "probes/network/HttpProbe.h"

namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Any other code, up to well past the last known one, is unknown.
TEST(HttpErrorText, EveryKnownCodeHasItsOwnSentenceEndingInAFullStopAndABlank) {
    const std::set<std::uint32_t> known = {
        6,     18,    234,   259,   12001, 12002, 12003, 12004, 12005, 12006, 12007, 12008, 12009,
        12010, 12011, 12012, 12013, 12014, 12015, 12016, 12017, 12018, 12019, 12020, 12021, 12022,
        12023, 12024, 12025, 12026, 12027, 12028, 12029, 12030, 12031, 12032, 12033, 12034, 12036,
        12037, 12038, 12039, 12040, 12041, 12042, 12043, 12044, 12045, 12046, 12047, 12048, 12049,
        12050, 12052, 12053, 12110, 12111, 12112, 12130, 12131, 12132, 12133, 12134, 12135, 12136,
        12137, 12138, 12150, 12151, 12152, 12153, 12154, 12155, 12156, 12157, 12158, 12159, 12160,
        12161, 12162, 12163, 12164, 12165, 12166, 12167, 12168, 12169, 12170, 12171};
    ASSERT_EQ(known.size(), 89u);
    std::set<std::string> seen;
    for (std::uint32_t code = 0; code <= 13000; ++code) {
        SCOPED_TRACE(code);
        const std::string text = HttpProbe::GetErrorText(code);
        if (known.count(code) == 0) {
            EXPECT_EQ(text, "Unknown error.");
            continue;
        }
        EXPECT_TRUE(seen.insert(text).second) << "text repeated: " << text;
        if (code == 259) {
            EXPECT_EQ(text, "No more items have been found.");
        } else {
            EXPECT_TRUE(EndsWith(text, ". ") && !EndsWith(text, "  ")) << '"' << text << '"';
            EXPECT_GT(text.size(), 10u);
        }
    }
    EXPECT_EQ(HttpProbe::GetErrorText(0xFFFFFFFFu), "Unknown error.");
    // The host name mismatch text gives its example after a dash.
    const std::string head = "SSL certificate common name (host name field) is incorrect - ";
    EXPECT_EQ(HttpProbe::GetErrorText(12038).compare(0, head.size(), head), 0);
}

TEST(HttpErrorText, TheTextsUsersMeetAreWordForWord) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {6, "The handle that was passed to the API has been either invalidated or closed. "},
        {18, "No more files have been found. "},   {234, "More data is available. "},
        {12002, "The request has timed out. "},    {12005, "The URL is invalid. "},
        {12007, "The server name could not be resolved. "},
        {12029, "The attempt to connect to the server failed. "},
        {12030, "The connection with the server has been terminated. "},
        {12031, "The connection with the server has been reset. "},
        {12037, "SSL certificate date that was received from the server is bad. The certificate "
                "is expired. "},
        {12044, "The server is requesting client authentication. "},
        {12045, "Certificate Authority that generated the server's certificate is invalid. "},
        {12152, "The server response could not be parsed. "},
        {12157, "The application experienced an internal error loading the SSL libraries. "},
        {12163, "The Internet connection has been lost. "},
        {12165, "The designated proxy server cannot be reached. "},
        {12169, "SSL certificate is invalid. "},   {12170, "SSL certificate was revoked. "},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(HttpProbe::GetErrorText(code), text) << code;
}

TEST(HttpStatusText, ListedCodesHaveTheirPhraseAndAllOthersAreUnknown) {
    std::set<std::uint32_t> listed = {100, 101, 307};
    const std::pair<std::uint32_t, std::uint32_t> runs[] = {{200, 206}, {300, 305}, {400, 417},
                                                            {500, 505}};
    for (const auto& [first, last] : runs) {
        for (std::uint32_t code = first; code <= last; ++code) listed.insert(code);
    }
    for (std::uint32_t code = 0; code <= 1000; ++code) {
        EXPECT_EQ(HttpProbe::GetStatusText(code) == "Unknown", listed.count(code) == 0) << code;
    }
    const std::pair<std::uint32_t, const char*> cases[] = {
        {100, "Continue"},           {203, "Non-Authoritative Information"},
        {307, "Temporary Redirect"}, {414, "Request-URI Too Long"},
        {416, "Requested Range Not Suitable"}, {505, "HTTP Version Not Supported"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(HttpProbe::GetStatusText(code), text) << code;
}

}  // namespace
