#include "platform/Text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace platform {

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    return result;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string TrimRight(std::string s) {
    std::size_t end = s.size();
    while (end > 0 && IsSpace(s[end - 1])) --end;
    s.erase(end);
    return s;
}

std::string TrimLeft(std::string s) {
    std::size_t begin = 0;
    while (begin < s.size() && IsSpace(s[begin])) ++begin;
    s.erase(0, begin);
    return s;
}

std::string Trim(std::string s) { return TrimLeft(TrimRight(std::move(s))); }

std::string Tokenize(const std::string& s, const std::string& delimiters, std::size_t& pos) {
    if (pos >= s.size()) {
        pos = s.size();
        return std::string();
    }
    const std::size_t begin = s.find_first_not_of(delimiters, pos);
    if (begin == std::string::npos) {
        pos = s.size();
        return std::string();
    }
    std::size_t end = s.find_first_of(delimiters, begin);
    if (end == std::string::npos) end = s.size();
    pos = end < s.size() ? end + 1 : end;
    return s.substr(begin, end - begin);
}

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    std::size_t at = 0;
    while ((at = s.find(from, at)) != std::string::npos) {
        s.replace(at, from.size(), to);
        at += to.size();
    }
    return s;
}

std::string ToUpperAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

}  // namespace platform
