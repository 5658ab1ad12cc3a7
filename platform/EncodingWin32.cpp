#include "platform/EncodingWin32.h"

#include <windows.h>

namespace platform {

std::wstring WideFromProgramText(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = ::MultiByteToWideChar(kProgramCodePage, 0, text.data(),
                                             static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(kProgramCodePage, 0, text.data(), static_cast<int>(text.size()),
                          wide.data(), length);
    return wide;
}

namespace {

std::string NarrowFromWide(unsigned codePage, const wchar_t* text, int length) {
    if (length <= 0) return std::string();
    const int size = ::WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, text, length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::string ProgramTextFromWide(const wchar_t* text, int length) {
    return NarrowFromWide(kProgramCodePage, text, length);
}

std::string Utf8FromWide(const std::wstring& text) {
    return NarrowFromWide(CP_UTF8, text.data(), static_cast<int>(text.size()));
}

std::string ProgramTextFromWide(const std::wstring& text) {
    return ProgramTextFromWide(text.data(), static_cast<int>(text.size()));
}

}  // namespace platform
