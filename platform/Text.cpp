#include "platform/Text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace text {

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

bool IsBareName(const std::string& fileName) {
    return fileName.find_first_of("\\/:") == std::string::npos;
}

bool IsLocalAbsolutePath(const std::string& fileName) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    return fileName.size() > 3 && letter(fileName[0]) && fileName[1] == ':' &&
           (fileName[2] == '\\' || fileName[2] == '/');
}

std::string FolderOf(const std::string& localAbsolutePath) {
    const std::size_t cut = localAbsolutePath.find_last_of("\\/");
    // The root keeps its separator: "C:" alone names the current folder of drive C.
    return localAbsolutePath.substr(0, cut == 2 ? 3 : cut);
}

}  // namespace text
