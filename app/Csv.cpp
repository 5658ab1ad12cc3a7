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

namespace {

// A tick is 1, a cross 0, no verdict an empty cell.
const char* VerdictCell(Verdict verdict) {
    if (verdict == Verdict::None) return "";
    return verdict == Verdict::Pass ? "1" : "0";
}

// Every column, in the header's order, with its name and its cell in a row: the PC's columns,
// then "<key>" and "<key>_ok" of each item in the table.
std::vector<std::pair<std::string, std::string>> Columns(const CsvRow& row) {
    std::vector<std::pair<std::string, std::string>> columns = {
        {"computer", row.computer},
        {"user", row.user},
        {"time", row.time},
        {"type", row.type},
        {"conflicts", std::to_string(row.conflicts)},
    };
    for (const ItemRow& itemRow : kItems) {
        const CsvItem& item = row.items[static_cast<std::size_t>(itemRow.item)];
        columns.emplace_back(itemRow.key, item.field);
        columns.emplace_back(std::string(itemRow.key) + "_ok", VerdictCell(item.verdict));
    }
    return columns;
}

std::string LineOf(const CsvRow& row, bool names) {
    std::vector<std::string> cells;
    for (auto& [name, cell] : Columns(row)) cells.push_back(names ? name : cell);
    return CsvLine(cells);
}

}  // namespace

std::string CsvHeaderLine() { return LineOf(CsvRow(), true); }

std::string CsvDataLine(const CsvRow& row) { return LineOf(row, false); }

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
