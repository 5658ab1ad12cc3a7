// The command line: a dialog, a silent run or a report:
//   TarnvikAnalyzer.exe [/exchange | /lotus] [/silent] [/protocol FILE] [/csv FILE]   or  /?
// or the report over the rows of many PCs:
//   TarnvikAnalyzer.exe /report SOURCE [SOURCE ...] [/html FILE] [/csv FILE]
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/Items.h"

struct CommandLine {
    // Empty when understood; otherwise why not, naming the argument (English, code page 1250).
    std::string problem;
    std::optional<InstallType> installType;  // none: kDefaultInstallType
    bool silent = false;
    bool help = false;                        // "/?": show UsageText()
    std::wstring protocolPath;                // empty: the protocol goes beside the exe
    std::wstring csvPath;                     // empty: no CSV row; with /report, the merged rows
    std::vector<std::wstring> reportSources;  // drop folders and CSV files; empty: no report
    std::wstring htmlPath;                    // the report's page; empty: none

    bool Understood() const { return problem.empty(); }
};

// Splits the command line as GetCommandLineW returns it, the way the Microsoft C runtime
// builds argv: the first element is the program path.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// Switches start with "/" or "-" and ignore ASCII case. A FILE is the next argument unless
// that is one of the switches above; it must not be empty. /report takes every argument up to
// the next switch.
CommandLine ParseCommandLine(const std::wstring& commandLine);

// The synopsis, one line per switch and the exit codes, lines joined by "\r\n".
std::string UsageText();
