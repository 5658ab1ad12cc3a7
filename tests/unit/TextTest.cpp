#include "platform/Text.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> SplitAll(const std::string& s, const std::string& delimiters) {
    std::vector<std::string> tokens;
    std::size_t pos = 0;
    for (std::string token = text::Tokenize(s, delimiters, pos); !token.empty();
         token = text::Tokenize(s, delimiters, pos)) {
        tokens.push_back(token);
    }
    return tokens;
}

TEST(TextTokenize, RunsOfDelimitersCountAsOneAndLeadingOnesAreSkipped) {
    EXPECT_EQ(SplitAll(";;A:x;;B:y;", ";"), (std::vector<std::string>{"A:x", "B:y"}));
    EXPECT_EQ(SplitAll("a b,,c", ","), (std::vector<std::string>{"a b", "c"}));
}

TEST(TextTokenize, OnlyDelimitersOrNothingGiveAnEmptyTokenAtTheEnd) {
    std::size_t pos = 0;
    EXPECT_EQ(text::Tokenize(";;;", ";", pos), "");
    EXPECT_EQ(pos, 3u);
    pos = 0;
    EXPECT_EQ(text::Tokenize("", ";", pos), "");
    pos = 7;  // past the end stays harmless
    EXPECT_EQ(text::Tokenize("abc", ";", pos), "");
}

TEST(TextTokenize, PositionMovesPastTheTokenAndOneDelimiter) {
    std::size_t pos = 0;
    EXPECT_EQ(text::Tokenize("ab:cd:ef", ":", pos), "ab");
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(text::Tokenize("ab:cd:ef", ":", pos), "cd");
    EXPECT_EQ(text::Tokenize("ab:cd:ef", ":", pos), "ef");
    EXPECT_EQ(pos, 8u);
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
    EXPECT_EQ(text::ReplaceAll("abc", "", "x"), "abc");
}

TEST(TextFormat, FormatsLongTextsAndProgramCodePageLiterals) {
    const std::string long_text(5000, 'x');
    EXPECT_EQ(text::Format("%s|%d", long_text.c_str(), -2), long_text + "|-2");
    // "Š" is one byte in code page 1250.
    EXPECT_EQ(text::Format("%s", "Š").size(), 1u);
    EXPECT_EQ(static_cast<unsigned char>(text::Format("%s", "Š")[0]), 0x8Au);
    EXPECT_EQ(text::Format("%s", ""), "");
}

}  // namespace
