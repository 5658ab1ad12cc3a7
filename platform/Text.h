// Helpers for the program's 8-bit texts (Windows code page 1250, held in std::string).
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// printf-style formatting into a new string.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// White space as the C locale classifies it: space, \t, \n, \v, \f, \r.
bool IsSpace(char c);
std::string TrimRight(std::string s);
std::string TrimLeft(std::string s);
// Right end first, then left end.
std::string Trim(std::string s);

// The string class's tokenizer: skips delimiters at `pos`, returns the following run of
// non-delimiters and moves `pos` past it and one delimiter. Returns an empty token (and
// leaves `pos` at the end) when only delimiters or nothing remain, which ends a split.
std::string Tokenize(const std::string& s, const std::string& delimiters, std::size_t& pos);

// Replaces every occurrence of `from` (non-empty) by `to`, left to right, without overlap.
std::string ReplaceAll(std::string s, const std::string& from, const std::string& to);

// ASCII letters only, so that no code page's or locale's case rules change a name: the
// names compared are ASCII (file names, registry values, switches).
template <typename Char>
Char AsciiLower(Char c) {
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}
std::string ToUpperAscii(std::string s);
bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b);

}  // namespace platform
