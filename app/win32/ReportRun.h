// /report: the rows of drop folders and shared CSV files, newest per PC, merged into one CSV
// file and one page. No window: the exit code tells the outcome.
#pragma once

#include <string>
#include <vector>

// `sources` are folders (their *.csv files) or files; an empty output path writes no such output.
// Returns kExitPassed, kExitCsvNotWritten when an output could not be written, or
// kExitNoReadableRow, writing nothing, when no source held a row that could be read.
int ReportOnFleet(const std::vector<std::wstring>& sources, const std::wstring& htmlPath,
                  const std::wstring& csvPath);
