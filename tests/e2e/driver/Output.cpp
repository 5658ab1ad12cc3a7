#include "tests/e2e/driver/Output.h"

#include <windows.h>

#include <cwchar>

namespace uidriver {

std::wstring Escape(const std::wstring& text) {
    std::wstring escaped;
    escaped.reserve(text.size());
    for (const wchar_t c : text) {
        switch (c) {
        case L'\\': escaped += L"\\\\"; break;
        case L'\r': escaped += L"\\r"; break;
        case L'\n': escaped += L"\\n"; break;
        case L'\t': escaped += L"\\t"; break;
        default:
            if (c < 0x20 || c == 0x7f) {
                wchar_t code[8];
                std::swprintf(code, 8, L"\\x%02x", static_cast<unsigned>(c));
                escaped += code;
            } else {
                escaped += c;
            }
        }
    }
    return escaped;
}

std::string Utf8FromWide(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                          size, nullptr, nullptr);
    return utf8;
}

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          size);
    return wide;
}

void Report(const std::wstring& key, const std::wstring& value) {
    // Raw bytes to the handle: the C runtime's text mode would turn "\n" into "\r\n" and
    // its narrow conversions would follow the code page instead of UTF-8.
    const std::string line = Utf8FromWide(key + L"=" + Escape(value)) + "\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
                &written, nullptr);
}

void Report(const std::wstring& key, long long value) {
    Report(key, std::to_wstring(value));
}

}  // namespace uidriver
