// The answers of many PCs, read from their CSV files by column name, newest row per computer:
// what /report merges into one CSV file and shows on one page.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/Csv.h"

// A row, a file or a source that could not be read.
struct UnreadRow {
    std::string source;    // UTF-8
    std::size_t line = 0;  // 0: the whole file
    std::string why;       // program text
};

struct Fleet {
    std::vector<CsvRow> rows;  // one per computer, by name
    std::vector<UnreadRow> unread;
    std::size_t files = 0;  // whose bytes were read, rows or not
};

// Seconds since 1970-01-01 UTC of a time cell as FormatCsvTime writes it; empty for any other text.
std::optional<long long> CsvTimeInstant(const std::string& time);

// Collects rows file by file. Each file's first record is its header: a row's cells are taken by
// the header's names, so rows of older and newer versions read alike (unknown columns ignored,
// missing ones empty). Of a computer's rows (names compared without ASCII case) the one with the
// latest instant stays; a time that cannot be read loses to any that can, and between equal times
// the row read last stays, as a rerun appended to one file comes after the run it repeats.
class FleetReader {
public:
    void Add(const std::string& source, const std::string& bytes);
    void NotRead(const std::string& source, const std::string& why);
    Fleet Take();

private:
    struct Newest {
        CsvRow row;
        std::optional<long long> instant;
    };
    void Keep(CsvRow row);

    std::map<std::string, Newest> m_newest;  // by upper-case name
    std::vector<UnreadRow> m_unread;
    std::size_t m_files = 0;
};

// The byte-order mark, today's header and one line per row.
std::string MergedCsv(const Fleet& fleet);
