// The command line of an unattended run: split as the C runtime splits it, then its switches.
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/ExitCodes.h"

TEST(CommandLine, SplitsAsTheCRuntimeDoes) {
    struct Case {
        const wchar_t* line;
        std::vector<std::wstring> args;
    };
    const Case cases[] = {
        {LR"("C:\Program Files\T\"x.exe  /a)", {LR"(C:\Program Files\T\x.exe)", L"/a"}},
        {LR"(T.exe a\\\b \\"x y" \\\"z)", {L"T.exe", LR"(a\\\b)", LR"(\x y)", LR"(\"z)"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(CommandLine, TakesEachSwitchOnceInAnyCase) {
    struct Case {
        const wchar_t* line;
        CommandLine parsed;
    };
    const Case cases[] = {
        {L"T.exe", {}},
        {LR"(T.exe -LOTUS /Silent /csv \\srv\s\pcs.csv -Protocol "C:\p q.txt")",
         {"", InstallType::Lotus, true, false, LR"(C:\p q.txt)", LR"(\\srv\s\pcs.csv)"}},
        {L"T.exe /exchange -?", {"", InstallType::Exchange, false, true, L"", L""}},
    };
    const auto fields = [](const CommandLine& c) {
        return std::tie(c.problem, c.installType, c.silent, c.help, c.protocolPath, c.csvPath);
    };
    for (const Case& c : cases) {
        const CommandLine parsed = ParseCommandLine(c.line);
        EXPECT_EQ(fields(parsed), fields(c.parsed)) << c.line;
    }
}

// A silent run is known as such even when the rest is not understood: it shows no box.
TEST(CommandLine, NamesTheFirstArgumentNotUnderstood) {
    struct Case {
        const wchar_t* line;
        const char* problem;
        bool silent;
    };
    const Case cases[] = {
        {L"T.exe /x /silent", "Unknown switch \"/x\".", true},
        {L"T.exe /lotus ž€\u4E2D", "Unexpected argument \"ž€?\".", false},
        {L"T.exe /Exchange /lotus", "\"/lotus\" cannot be used with \"/Exchange\".", false},
        {L"T.exe /csv \"\"", "\"/csv\" needs a file name.", false},
        {L"T.exe /protocol -silent", "\"/protocol\" needs a file name.", true},
        {L"T.exe /csv", "\"/csv\" needs a file name.", false},
        {L"T.exe /silentx", "Unknown switch \"/silentx\".", false},
    };
    for (const Case& c : cases) {
        const CommandLine parsed = ParseCommandLine(c.line);
        EXPECT_EQ(parsed.problem, c.problem);
        EXPECT_EQ(parsed.silent, c.silent) << c.line;
    }
}

TEST(ExitCode, AnUnwrittenProtocolWinsOverAnUnwrittenRow) {
    struct Case {
        bool protocolWritten;
        bool csvWritten;
        std::size_t conflicts;
        int exitCode;
    };
    const Case cases[] = {
        {true, true, 0, 0},
        {true, true, 1, 1},
        {true, false, 1, 3},
        {false, false, 1, -2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExitCodeOf(c.protocolWritten, c.csvWritten, c.conflicts), c.exitCode);
    }
}
