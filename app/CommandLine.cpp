#include "app/CommandLine.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "app/ExitCodes.h"
#include "platform/Cp1250.h"
#include "platform/Text.h"

namespace {

enum class Switch { Exchange, Lotus, Silent, Protocol, Csv, Help, Report, Html };

struct SwitchName {
    Switch which;
    const wchar_t* name;  // lower case, without "/" or "-"
};

constexpr std::array<SwitchName, 8> kSwitches = {{
    {Switch::Exchange, L"exchange"},
    {Switch::Lotus, L"lotus"},
    {Switch::Silent, L"silent"},
    {Switch::Protocol, L"protocol"},
    {Switch::Csv, L"csv"},
    {Switch::Help, L"?"},
    {Switch::Report, L"report"},
    {Switch::Html, L"html"},
}};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool IsSwitchLike(const std::wstring& arg) {
    return !arg.empty() && (arg[0] == L'/' || arg[0] == L'-');
}

const SwitchName* FindSwitch(const std::wstring& arg) {
    if (!IsSwitchLike(arg)) return nullptr;
    for (const SwitchName& known : kSwitches) {
        const std::wstring name = known.name;
        const auto same = [](wchar_t lower, wchar_t typed) {
            return lower == platform::AsciiLower(typed);
        };
        if (arg.size() == name.size() + 1 &&
            std::equal(name.begin(), name.end(), arg.begin() + 1, same)) {
            return &known;
        }
    }
    return nullptr;
}

std::string Quoted(const std::wstring& arg) {
    std::string quoted = "\"";
    quoted += platform::Cp1250FromWide(arg);
    return quoted + "\"";
}

bool IsFileAt(const std::vector<std::wstring>& args, std::size_t i) {
    return i < args.size() && !args[i].empty() && !FindSwitch(args[i]);
}

// A report reads files and runs no test: the switches of a run do not belong with it.
std::string ReportProblem(const CommandLine& line, bool given) {
    if (!given) return line.htmlPath.empty() ? "" : "\"/html\" needs \"/report\".";
    if (line.installType || !line.protocolPath.empty()) {
        return "\"/report\" cannot be used with \"/exchange\", \"/lotus\" or \"/protocol\".";
    }
    if (line.htmlPath.empty() && line.csvPath.empty()) {
        return "\"/report\" needs \"/html\" or \"/csv\".";
    }
    return "";
}

// The program path: quotes group, nothing escapes (a path holds no quote).
std::size_t SkipProgramPath(const std::wstring& line, std::wstring& path) {
    bool quoted = false;
    std::size_t i = 0;
    for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
        if (line[i] == L'"') {
            quoted = !quoted;
        } else {
            path += line[i];
        }
    }
    return i;
}

// One argument from `i`, which is not blank: 2n backslashes and a quote give n backslashes
// and the quote opens or closes a quoted part; 2n+1 give n backslashes and a literal quote.
// Inside a quoted part two quotes give one literal quote and end the part.
std::wstring NextArgument(const std::wstring& line, std::size_t& i) {
    std::wstring arg;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
        std::size_t slashes = 0;
        for (; i < line.size() && line[i] == L'\\'; ++i) ++slashes;
        if (i < line.size() && line[i] == L'"') {
            arg.append(slashes / 2, L'\\');
            if (slashes % 2 == 1) {
                arg += L'"';
            } else if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                arg += L'"';
                quoted = false;
                ++i;
            } else {
                quoted = !quoted;
            }
            ++i;
        } else if (slashes > 0) {
            arg.append(slashes, L'\\');
        } else {
            arg += line[i++];
        }
    }
    return arg;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
    std::vector<std::wstring> args(1);
    std::size_t i = SkipProgramPath(commandLine, args[0]);
    for (;;) {
        while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
        if (i == commandLine.size()) return args;
        args.push_back(NextArgument(commandLine, i));
    }
}

CommandLine ParseCommandLine(const std::wstring& commandLine) {
    const std::vector<std::wstring> args = SplitCommandLine(commandLine);
    CommandLine result;
    // Known even when something else is not understood: a silent run never shows a box.
    for (const std::wstring& arg : args) {
        const SwitchName* found = FindSwitch(arg);
        if (found && found->which == Switch::Silent) result.silent = true;
    }
    std::array<bool, kSwitches.size()> given = {};
    std::wstring typeSwitch;  // "/exchange" or "/lotus" as typed
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const SwitchName* found = FindSwitch(arg);
        if (!found) {
            result.problem = (IsSwitchLike(arg) ? "Unknown switch " : "Unexpected argument ") +
                             Quoted(arg) + ".";
            return result;
        }
        bool& seen = given[static_cast<std::size_t>(found->which)];
        if (seen) {
            result.problem = Quoted(arg) + " is given twice.";
            return result;
        }
        seen = true;
        switch (found->which) {
            case Switch::Exchange:
            case Switch::Lotus:
                if (!typeSwitch.empty()) {
                    result.problem =
                        Quoted(arg) + " cannot be used with " + Quoted(typeSwitch) + ".";
                    return result;
                }
                typeSwitch = arg;
                result.installType =
                    found->which == Switch::Lotus ? InstallType::Lotus : InstallType::Exchange;
                break;
            case Switch::Silent: result.silent = true; break;
            case Switch::Help: result.help = true; break;
            case Switch::Report:
                while (IsFileAt(args, i + 1)) result.reportSources.push_back(args[++i]);
                if (result.reportSources.empty()) {
                    result.problem = Quoted(arg) + " needs a folder or a file name.";
                    return result;
                }
                break;
            case Switch::Protocol:
            case Switch::Csv:
            case Switch::Html: {
                if (!IsFileAt(args, i + 1)) {
                    result.problem = Quoted(arg) + " needs a file name.";
                    return result;
                }
                std::wstring& path = found->which == Switch::Csv    ? result.csvPath
                                     : found->which == Switch::Html ? result.htmlPath
                                                                    : result.protocolPath;
                path = args[++i];
                break;
            }
        }
    }
    result.problem = ReportProblem(result, given[static_cast<std::size_t>(Switch::Report)]);
    return result;
}

std::string UsageText() {
    return platform::Format(
        "Usage: TarnvikAnalyzer.exe [/exchange | /lotus] [/silent] [/protocol FILE] [/csv FILE]\r\n"
        "       TarnvikAnalyzer.exe /report SOURCE [SOURCE ...] [/html FILE] [/csv FILE]\r\n"
        "\r\n"
        "/exchange: test for MS Exchange (the default)\r\n"
        "/lotus: test for Lotus Domino\r\n"
        "/silent: run without a window; the exit code tells the result\r\n"
        "/protocol FILE: write the protocol to FILE instead of beside the program\r\n"
        "/csv FILE: add one row of results to the CSV file FILE, shared by many PCs, or write\r\n"
        "    this PC's own file into FILE when it is a folder; with /report, the merged rows\r\n"
        "/report SOURCE: read the rows of drop folders and CSV files, the newest per PC\r\n"
        "/html FILE: with /report, write the page that shows which PCs are ready\r\n"
        "/?: show this text\r\n"
        "\r\n"
        "Exit codes:\r\n"
        "%d  the test passed\r\n"
        "%d  conflicts found\r\n"
        "%d  the command line was not understood\r\n"
        "%d  the CSV row, the report or its CSV file could not be written\r\n"
        "%d  no readable row was found (/report)\r\n"
        "%d  the protocol file could not be created or written",
        kExitPassed, kExitConflictsFound, kExitCommandLineNotUnderstood, kExitCsvNotWritten,
        kExitNoReadableRow, kExitProtocolNotCreated);
}
