#include "app/Csv.h"

#include <cstdlib>
#include <cstring>

#include "platform/Cp1250.h"
#include "platform/Text.h"

namespace {

// Spreadsheet programs run a cell that begins like a formula (a release text a user planted in
// a file may be "=HYPERLINK(...)"): a leading apostrophe makes them show it as text.
std::string CsvCell(const std::string& text) {
    const bool formula = !text.empty() && std::strchr("=+-@\t\r", text[0]) != nullptr;
    const std::string cell = formula ? "'" + text : text;
    if (cell.find_first_of(";\"\r\n") == std::string::npos) return cell;
    std::string quoted = "\"";
    for (const char c : cell) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::string FormatCsvTime(const CalendarTime& time, int offsetMinutesEast) {
    const int offset = std::abs(offsetMinutesEast);
    return platform::Format("%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", time.year, time.month,
                            time.day, time.hour, time.minute, time.second,
                            offsetMinutesEast < 0 ? '-' : '+', offset / 60, offset % 60);
}

std::string CsvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += ';';
        line += CsvCell(cells[i]);
    }
    return line + "\r\n";
}

std::string CsvHeaderLine() {
    std::vector<std::string> cells = {"computer", "user", "time", "type", "conflicts"};
    for (const ItemRow& row : kItems) {
        cells.push_back(row.key);
        cells.push_back(std::string(row.key) + "_ok");
    }
    return CsvLine(cells);
}

std::string CsvDataLine(const CsvRow& row) {
    std::vector<std::string> cells = {row.computer, row.user, row.time, row.type,
                                      std::to_string(row.conflicts)};
    for (const CsvItem& item : row.items) {
        cells.push_back(item.field);
        cells.push_back(item.verdict == Verdict::Pass   ? "1"
                        : item.verdict == Verdict::Fail ? "0"
                                                        : "");
    }
    return CsvLine(cells);
}

CsvRow CsvRowOf(const RunReport& report, InstallType type) {
    CsvRow row;
    row.type = type == InstallType::Lotus ? "lotus" : "exchange";
    row.conflicts = static_cast<int>(report.conflicts.size());
    for (std::size_t i = 0; i < kItemCount; ++i) {
        if (!report.items[i]) continue;  // of the other installation type
        row.items[i].field = platform::Utf8FromCp1250(report.items[i]->field);
        row.items[i].verdict = report.items[i]->verdict;
    }
    return row;
}

std::string CsvNotWritten(const std::string& path) {
    return "Chyba! Nebolo možné pridať riadok do súboru CSV:\r\n" + path;
}
