// One row per PC in a CSV file that a whole organisation shares: ";" between cells, "\r\n"
// after each line, cells in UTF-8, quoted as RFC 4180 quotes them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/Items.h"
#include "app/CalendarTime.h"
#include "app/TestRun.h"

// One item's outcome.
struct CsvItem {
    std::string field;                // UTF-8; empty when the item has no field or did not run
    Verdict verdict = Verdict::None;  // none too when the item did not run
};

struct CsvRow {
    std::string computer;  // UTF-8
    std::string user;      // UTF-8
    std::string time;      // FormatCsvTime
    std::string type;      // "exchange" or "lotus"
    int conflicts = 0;
    std::array<CsvItem, kItemCount> items;  // indexed by Item
};

// Local time with its offset from UTC in minutes east (-720 to 840; UTC+01:00 is 60,
// UTC-03:30 is -210): "2026-12-07T10:15:02+01:00".
std::string FormatCsvTime(const CalendarTime& time, int offsetMinutesEast);

// The cells joined by ";" and ended by "\r\n". A cell beginning with "=", "+", "-", "@", a tab or
// CR gets a leading apostrophe; then a cell holding ";", a quote, CR or LF is enclosed in quotes
// with each of its quotes doubled.
std::string CsvLine(const std::vector<std::string>& cells);

// "computer;user;time;type;conflicts", then "<key>;<key>_ok" for every item in run order.
std::string CsvHeaderLine();

// The cells in the header's order; "<key>_ok" is "1" for a pass, "0" for a fail, else empty.
std::string CsvDataLine(const CsvRow& row);

// A completed run's type, number of conflicts and items, the field texts in UTF-8; the
// computer, the user and the time are the caller's to fill in.
CsvRow CsvRowOf(const RunReport& report, InstallType type);

// The box of a dialog whose run could not add its row to the CSV file at `path`.
std::string CsvNotWritten(const std::string& path);
