#include "platform/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Steps = std::vector<std::pair<std::string, std::size_t>>;

// Runs of delimiters count as one and leading ones are skipped; the position moves past the
// token and one delimiter. Only delimiters or nothing left give the empty token that ends a
// split, with the position at the end.
TEST(TextTokenize, SplitsGiveEachTokenAndThePositionAfterIt) {
    const struct {
        std::string text, delimiters;
        std::size_t start;
        Steps expected;  // up to and including the empty token
    } cases[] = {
        {";;A:x;;B:y;", ";", 0, {{"A:x", 6}, {"B:y", 11}, {"", 11}}},
        {"a b,,c", ",", 0, {{"a b", 4}, {"c", 6}, {"", 6}}},
        {"ab:cd:ef", ":", 0, {{"ab", 3}, {"cd", 6}, {"ef", 8}, {"", 8}}},
        {";;;", ";", 0, {{"", 3}}},
        {"", ";", 0, {{"", 0}}},
        {"abc", ";", 7, {{"", 3}}},  // past the end stays harmless
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Steps steps;
        std::size_t pos = c.start;
        do {
            const std::string token = text::Tokenize(c.text, c.delimiters, pos);
            steps.emplace_back(token, pos);
        } while (!steps.back().first.empty() && steps.size() < 10);
        EXPECT_EQ(steps, c.expected);
    }
}

TEST(TextTrim, RemovesEveryKindOfWhiteSpaceAtTheEndsOnly) {
    EXPECT_EQ(text::Trim(" \t\r\n\v\fIntel  Core \t"), "Intel  Core");
    EXPECT_EQ(text::TrimLeft("  a "), "a ");
    EXPECT_EQ(text::TrimRight("  a "), "  a");
    EXPECT_EQ(text::Trim("   "), "");
}

TEST(TextReplaceAll, ReplacesLeftToRightWithoutOverlap) {
    EXPECT_EQ(text::ReplaceAll("C:\\A\\OUTLOOK.EXE \\OUTLOOK.EXE", "\\OUTLOOK.EXE", "\\OUTLLIB.DLL"),
              "C:\\A\\OUTLLIB.DLL \\OUTLLIB.DLL");
    EXPECT_EQ(text::ReplaceAll("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(text::ReplaceAll("a.b.", ".", ".."), "a..b..");  // not searched again
    EXPECT_EQ(text::ReplaceAll("abc", "", "x"), "abc");
}

TEST(TextFormat, FormatsLongTextsAndProgramCodePageLiterals) {
    const std::string long_text(5000, 'x');
    EXPECT_EQ(text::Format("%s|%d", long_text.c_str(), -2), long_text + "|-2");
    // "Š" is one byte, 0x8A, in code page 1250.
    EXPECT_EQ(text::Format("%s", "Š"), "\x8A");
    EXPECT_EQ(text::Format("%s", ""), "");
}

}  // namespace
