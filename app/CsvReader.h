// Reads the CSV files of many PCs and program versions as RFC 4180 puts them, with ";" between
// cells: a file may be cut off, written by hand or not be a CSV at all, and is never trusted.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct CsvRecord {
    std::size_t line = 0;  // where the record starts, from 1
    std::vector<std::string> cells;
    std::string problem;  // empty when read whole; else why not (program text)
};

// The records of `text`, a byte-order mark skipped; lines end in "\r\n", "\n" or "\r", and a
// quoted cell may hold any of them. Blank lines are skipped. A quote left open to the end, or
// text after a closing quote, spoils only its own line: reading goes on at the next one.
std::vector<CsvRecord> ReadCsvRecords(const std::string& text);
