// What a run adds to a CSV file that many PCs share, decided from the file's ends alone.
#pragma once

#include <string>

namespace platform {

inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// The bytes to append to a file that starts with `start` (its first bytes, at least the
// byte-order mark and `headerLine` long where the file is) and ends with `end` (its last two
// bytes): the byte-order mark and the header into an empty file, a line break first where the
// last line lacks one, then `rowLine`. Empty when the file starts with another header: rows are
// read by their header's names, so a row under columns that are not its own would be misread.
std::string SharedCsvAppendix(const std::string& start, const std::string& end,
                              const std::string& headerLine, const std::string& rowLine);

}  // namespace platform
