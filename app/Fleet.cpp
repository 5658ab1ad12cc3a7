#include "app/Fleet.h"

#include <cstdlib>

#include "app/CsvReader.h"
#include "platform/Text.h"

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// A writer that guards spreadsheet users puts an apostrophe before a cell's leading character
// that would start a formula; the merged file puts it there again.
std::string Unguarded(const std::string& cell) {
    if (cell.size() >= 2 && cell[0] == '\'' &&
        std::string("=+-@\t\r").find(cell[1]) != std::string::npos) {
        return cell.substr(1);
    }
    return cell;
}

// Digits only, and few enough for an int.
std::optional<int> Count(const std::string& cell) {
    if (cell.empty() || cell.size() > 4) return std::nullopt;
    for (const char c : cell) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    return std::atoi(cell.c_str());
}

bool Digits(const std::string& text, std::size_t at, std::size_t count, int& value) {
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// Days from 1970-01-01 of a date in the proleptic Gregorian calendar.
long long DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097LL + dayOfEra - 719468;
}

}  // namespace

std::optional<long long> CsvTimeInstant(const std::string& time) {
    // 2026-12-07T10:15:02+01:00
    int year, month, day, hour, minute, second, offsetHours, offsetMinutes;
    if (time.size() != 25 || time[4] != '-' || time[7] != '-' || time[10] != 'T' ||
        time[13] != ':' || time[16] != ':' || (time[19] != '+' && time[19] != '-') ||
        time[22] != ':' || !Digits(time, 0, 4, year) || !Digits(time, 5, 2, month) ||
        !Digits(time, 8, 2, day) || !Digits(time, 11, 2, hour) || !Digits(time, 14, 2, minute) ||
        !Digits(time, 17, 2, second) || !Digits(time, 20, 2, offsetHours) ||
        !Digits(time, 23, 2, offsetMinutes)) {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60 ||
        offsetHours > 14 || offsetMinutes > 59) {
        return std::nullopt;
    }
    const int offset = (time[19] == '-' ? -1 : 1) * (offsetHours * 60 + offsetMinutes);
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second -
           offset * 60LL;
}

void FleetReader::Add(const std::string& source, const std::string& bytes) {
    ++m_files;
    const std::vector<CsvRecord> records = ReadCsvRecords(bytes);
    std::map<std::string, std::size_t> columns;
    if (!records.empty() && records[0].problem.empty()) {
        for (std::size_t i = 0; i < records[0].cells.size(); ++i) {
            columns.emplace(records[0].cells[i], i);
        }
    }
    if (columns.count("computer") == 0) {
        NotRead(source, "nie je to súbor CSV Tarnvik Analyzéra");
        return;
    }
    const std::size_t width = records[0].cells.size();
    for (std::size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        const auto cell = [&](const std::string& name) {
            const auto found = columns.find(name);
            return found == columns.end() ? std::string() : Unguarded(record.cells[found->second]);
        };
        std::string why = record.problem;
        if (why.empty() && record.cells.size() != width) {
            why = std::to_string(record.cells.size()) + " buniek, hlavička ich má " +
                  std::to_string(width);
        }
        const std::optional<int> conflicts = why.empty() ? Count(cell("conflicts")) : 0;
        if (why.empty() && cell("computer").empty()) why = "chýba názov počítača";
        if (why.empty() && !conflicts) why = "počet konfliktov nie je číslo";
        if (!why.empty()) {
            m_unread.push_back({source, record.line, why});
            continue;
        }
        CsvRow row{cell("computer"), cell("user"), cell("time"), cell("type"), *conflicts, {}};
        for (std::size_t i = 0; i < kItemCount; ++i) {
            const std::string verdict = cell(std::string(kItems[i].key) + "_ok");
            row.items[i].field = cell(kItems[i].key);
            if (verdict == "1" || verdict == "0") row.items[i].verdict = VerdictOf(verdict == "1");
        }
        Keep(std::move(row));
    }
}

void FleetReader::Keep(CsvRow row) {
    const std::optional<long long> instant = CsvTimeInstant(row.time);
    const auto [kept, added] =
        m_newest.try_emplace(platform::ToUpperAscii(row.computer), Newest{row, instant});
    if (added) return;
    const bool newer = instant && (!kept->second.instant || *instant >= *kept->second.instant);
    if (newer || !kept->second.instant) kept->second = Newest{std::move(row), instant};
}

void FleetReader::NotRead(const std::string& source, const std::string& why) {
    m_unread.push_back({source, 0, why});
}

Fleet FleetReader::Take() {
    Fleet fleet;
    for (auto& [name, newest] : m_newest) fleet.rows.push_back(std::move(newest.row));
    fleet.unread = std::move(m_unread);
    fleet.files = m_files;
    m_newest.clear();
    return fleet;
}

std::string MergedCsv(const Fleet& fleet) {
    std::string text = kUtf8Bom + CsvHeaderLine();
    for (const CsvRow& row : fleet.rows) text += CsvDataLine(row);
    return text;
}
