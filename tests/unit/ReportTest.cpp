#include <gtest/gtest.h>

#include <algorithm>

#include "app/CsvReader.h"
#include "app/Fleet.h"

namespace {

const std::string kHeader = CsvHeaderLine();

// A line of today's width: the cells after `rest` empty.
std::string Row(const std::string& computer, const std::string& time, const std::string& rest) {
    std::string line = computer + ";user;" + time + ";exchange;" + rest;
    const auto separators = [](const std::string& s) {
        return std::count(s.begin(), s.end(), ';');
    };
    return line + std::string(separators(kHeader) - separators(line), ';') + "\r\n";
}

}  // namespace

TEST(CsvReader, ATornOrMalformedLineCostsOnlyItself) {
    struct Case {
        const char* text;
        std::vector<CsvRecord> records;
    };
    const Case cases[] = {
        {.text = "\xEF\xBB\xBF"
                 "a;\"b;\r\n\"\"c\"\r\n\nd\re",
         .records = {{.line = 1, .cells = {"a", "b;\r\n\"c"}},
                     {.line = 4, .cells = {"d"}},
                     {.line = 5, .cells = {"e"}}}},
        {.text = "a;\"b\nc;d\n",
         .records = {{.line = 1, .problem = "chýba koncová úvodzovka"},
                     {.line = 2, .cells = {"c", "d"}}}},
        {.text = "\"a\"x;b\n;\n",
         .records = {{.line = 1, .problem = "text za koncovou úvodzovkou"},
                     {.line = 2, .cells = {"", ""}}}},
    };
    const auto fields = [](const CsvRecord& r) { return std::tie(r.line, r.cells, r.problem); };
    for (const Case& c : cases) {
        const std::vector<CsvRecord> records = ReadCsvRecords(c.text);
        ASSERT_EQ(records.size(), c.records.size()) << c.text;
        for (std::size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(fields(records[i]), fields(c.records[i])) << c.text;
        }
    }
}

TEST(Fleet, TimesAreComparedAsInstants) {
    struct Case {
        const char* time;
        std::optional<long long> instant;
    };
    const Case cases[] = {
        {.time = "1969-12-31T20:29:59-03:30", .instant = -1},
        {.time = "2000-03-01T00:00:00+14:00", .instant = 951818400},
        {.time = "2000-03-01T00:00:00+15:00", .instant = std::nullopt},
        {.time = "2000-01-01T24:00:00+00:00", .instant = std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(CsvTimeInstant(c.time), c.instant) << c.time;
}

TEST(Fleet, KeepsTheNewestRowOfEachComputerAndSaysWhichRowsItCouldNotRead) {
    FleetReader reader;
    // An older version: fewer columns, in another order, and one this version does not know.
    reader.Add("old.csv",
               "computer;conflicts;time;disk_ok;gone\r\n"
               "PC-A;1;2026-12-07T10:00:00+01:00;0;x\r\n"
               "PC-B;0;2026-12-07T10:00:00+01:00;1;x\r\n"
               "PC-C;0;bad time;1;x\r\n"
               "PC-D;0;bad time;1;x\r\n"
               "PC-E;0;2026-12-07T10:00:00+01:00;1\r\n"
               ";0;2026-12-07T10:00:00+01:00;1;x\r\n"
               "PC-F;many;2026-12-07T10:00:00+01:00;1;x\r\n");
    reader.Add("pc-a.csv", kHeader + Row("pc-a", "2026-12-07T09:30:00+00:00", "0;'=1+2"));
    reader.Add("pc-b.csv", kHeader + Row("PC-B", "2026-12-07T09:00:00+00:00", "1") +
                               Row("PC-B", "garbage", "0"));
    reader.Add("pc-c.csv", kHeader + Row("PC-C", "later, unreadable", "1"));
    reader.Add("pc-d.csv", kHeader + Row("PC-D", "2026-12-07T09:00:00+00:00", "1"));
    reader.Add("notes.txt", "just some text\r\n");
    const Fleet fleet = reader.Take();

    std::vector<std::string> kept, unread;
    for (const CsvRow& r : fleet.rows) {
        kept.push_back(r.computer + " " + r.time + " " + std::to_string(r.conflicts));
    }
    for (const UnreadRow& r : fleet.unread) {
        unread.push_back(r.source + ":" + std::to_string(r.line) + " " + r.why);
    }
    EXPECT_EQ(kept, (std::vector<std::string>{
                        "pc-a 2026-12-07T09:30:00+00:00 0", "PC-B 2026-12-07T09:00:00+00:00 1",
                        "PC-C later, unreadable 1", "PC-D 2026-12-07T09:00:00+00:00 1"}));
    EXPECT_EQ(unread, (std::vector<std::string>{
                          "old.csv:6 4 buniek, hlavička ich má 5", "old.csv:7 chýba názov počítača",
                          "old.csv:8 počet konfliktov nie je číslo",
                          "notes.txt:0 nie je to súbor CSV Tarnvik Analyzéra"}));
    EXPECT_EQ(fleet.rows[0].items[static_cast<std::size_t>(Item::Ram)].field, "=1+2");
    EXPECT_EQ(fleet.rows[1].items[static_cast<std::size_t>(Item::Disk)].verdict, Verdict::None);
}
