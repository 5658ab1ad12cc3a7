// The test protocol: its name beside the executable, its header, and the texts about the file.
#pragma once

#include <optional>
#include <string>

#include "app/TestRun.h"

// The executable's path with its extension (from the last dot of the file name on) replaced
// by ".txt": C:\Tools\X.exe -> C:\Tools\X.txt. Works on narrow and wide paths alike.
template <typename Char>
std::basic_string<Char> ProtocolPathFor(const std::basic_string<Char>& executablePath) {
    const Char separators[] = {Char('\\'), Char('/'), Char(':'), Char(0)};
    const std::size_t nameStart = executablePath.find_last_of(separators);
    const std::size_t dot = executablePath.find_last_of(Char('.'));
    std::basic_string<Char> base = executablePath;
    if (dot != base.npos && (nameStart == base.npos || dot > nameStart)) base.erase(dot);
    const Char extension[] = {Char('.'), Char('t'), Char('x'), Char('t'), Char(0)};
    return base + extension;
}

// "<caption> ŠTART TESTU - d.m.yyyy hh:mm:ss\r\n", then 77 hyphens and "\r\n\r\n".
// Without a local time the date prints as 0.0.0 and the time fields as -1.
std::string ProtocolHeader(const std::string& caption,
                           const std::optional<CalendarTime>& localTime);

// The note under the items once the protocol is written to `path`.
std::string ProtocolNote(const std::string& path);

inline constexpr char kErrorCaption[] = "Chyba aplikácie";
// The file could not be created: the program ends.
inline constexpr char kProtocolNotCreated[] =
    "Chyba! Nebolo možné vytvoriť súbor s protokolom o priebehu testu.";
// Created, but not written whole: the dialog stays, the previous protocol is untouched.
std::string ProtocolNotWritten(const std::string& path);
