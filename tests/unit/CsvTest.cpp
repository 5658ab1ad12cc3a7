#include <gtest/gtest.h>

#include "app/Csv.h"
#include "platform/Cp1250.h"
#include "platform/SharedCsv.h"

TEST(Csv, HeaderNamesEveryItemAndItsVerdict) {
    EXPECT_EQ(CsvHeaderLine(),
              "computer;user;time;type;conflicts;ram;ram_ok;cpu;cpu_ok;disk;disk_ok;os;os_ok;ie;"
              "ie_ok;activex;activex_ok;install;install_ok;http;http_ok;https;https_ok;admin;"
              "admin_ok;domain;domain_ok;services;services_ok;outlook;outlook_ok;exchange;"
              "exchange_ok;lotus;lotus_ok\r\n");
}

TEST(Csv, QuotesOnlyCellsWithSeparatorQuoteOrLineBreak) {
    CsvRow row = {"PC;7", "a\"b", "t", "lotus", 12, {}};
    row.items[static_cast<std::size_t>(Item::Ram)] = {"512 MB", Verdict::None};
    row.items[static_cast<std::size_t>(Item::Cpu)] = {"\r", Verdict::None};
    row.items[static_cast<std::size_t>(Item::Disk)] = {"\n", Verdict::Fail};
    row.items[static_cast<std::size_t>(Item::Admin)] = {"", Verdict::Pass};
    EXPECT_EQ(CsvDataLine(row), "\"PC;7\";\"a\"\"b\";t;lotus;12;512 MB;;\"'\r\";;\"\n\";0" +
                                    std::string(14, ';') + "1" + std::string(10, ';') + "\r\n");
}

TEST(Csv, ACellBeginningLikeAFormulaBecomesText) {
    EXPECT_EQ(CsvLine({"=HYPERLINK(\"x\")", "+1", "-1", "@SUM(A1)", "\tx", "a=b", " =1", "'=1"}),
              "\"'=HYPERLINK(\"\"x\"\")\";'+1;'-1;'@SUM(A1);'\tx;a=b; =1;'=1\r\n");
}

TEST(Csv, TimeIsIsoLocalTimeWithItsOffset) {
    struct Case {
        CalendarTime time;  // day, month, year, hour, minute, second
        int offsetMinutesEast;
        const char* text;
    };
    const Case cases[] = {
        {{30, 6, 2027, 9, 5, 0}, -210, "2027-06-30T09:05:00-03:30"},
        {{1, 1, 2027, 0, 0, 0}, 0, "2027-01-01T00:00:00+00:00"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatCsvTime(c.time, c.offsetMinutesEast), c.text);
}

TEST(Cp1250, EachByteBecomesItsCharacterInUtf8AndAnUndefinedOneTheReplacement) {
    EXPECT_EQ(platform::Utf8FromCp1250("aŽ€ˇ\x81"), u8"aŽ€ˇ\uFFFD");
}

TEST(SharedCsv, RowsGoOnlyUnderTheirOwnHeaderAndOnALineOfTheirOwn) {
    struct Case {
        const char* start;
        const char* end;
        const char* appended;
    };
    const Case cases[] = {
        {.start = "", .end = "", .appended = "\xEF\xBB\xBFh;k\r\nr\r\n"},
        {.start = "\xEF\xBB\xBFh;k\r\nr", .end = "\r\n", .appended = "r\r\n"},
        {.start = "h;k\r\n", .end = "1\n", .appended = "\r\nr\r\n"},
        {.start = "\xEF\xBB\xBFh;k;new\r\n", .end = "\r\n", .appended = ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::SharedCsvAppendix(c.start, c.end, "h;k\r\n", "r\r\n"), c.appended)
            << c.start;
    }
}
