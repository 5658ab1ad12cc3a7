// Code page 1250 converted without Windows: the CSV file is UTF-8, and the command line
// arrives as UTF-16, while the program's own texts are code page 1250.
#pragma once

#include <string>

namespace platform {

// Every byte as the code page defines it; its five undefined bytes become U+FFFD.
std::string Utf8FromCp1250(const std::string& text);

// Each unit the code page has becomes its byte; any other unit becomes "?". wchar_t holds
// UTF-16 on Windows; a surrogate pair therefore becomes "??".
std::string Cp1250FromWide(const std::wstring& text);

}  // namespace platform
