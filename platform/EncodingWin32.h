// The program's texts are code page 1250; the screen speaks UTF-16.
#pragma once

#include <string>

namespace platform {

constexpr unsigned kProgramCodePage = 1250;

std::wstring WideFromProgramText(const std::string& text);
std::string ProgramTextFromWide(const std::wstring& text);
std::string ProgramTextFromWide(const wchar_t* text, int length);
std::string Utf8FromWide(const std::wstring& text);

}  // namespace platform
