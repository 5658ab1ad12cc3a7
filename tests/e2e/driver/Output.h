// What the driver prints: one "key=value" line per fact, UTF-8, with line breaks and other
// control characters escaped so that every value stays on its own line.
#pragma once

#include <string>

namespace uidriver {

// "\\" -> "\\\\", CR -> "\\r", LF -> "\\n", TAB -> "\\t", other controls -> "\\xNN".
std::wstring Escape(const std::wstring& text);
std::string Utf8FromWide(const std::wstring& text);
std::wstring WideFromUtf8(const std::string& text);

void Report(const std::wstring& key, const std::wstring& value);
void Report(const std::wstring& key, long long value);

}  // namespace uidriver
