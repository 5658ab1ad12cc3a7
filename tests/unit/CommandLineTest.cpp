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
        {.line = L"T.exe", .parsed = {}},
        {.line = LR"(T.exe -LOTUS /Silent /csv \\srv\s\pcs.csv -Protocol "C:\p q.txt")",
         .parsed = {.installType = InstallType::Lotus,
                    .silent = true,
                    .protocolPath = LR"(C:\p q.txt)",
                    .csvPath = LR"(\\srv\s\pcs.csv)"}},
        {.line = L"T.exe /exchange -?",
         .parsed = {.installType = InstallType::Exchange, .help = true}},
        {.line = LR"(T.exe /csv \\s\t\m.csv /REPORT \\s\drop a.csv -html r.html)",
         .parsed = {.csvPath = LR"(\\s\t\m.csv)",
                    .reportSources = {LR"(\\s\drop)", L"a.csv"},
                    .htmlPath = L"r.html"}},
    };
    const auto fields = [](const CommandLine& c) {
        return std::tie(c.problem, c.installType, c.silent, c.help, c.protocolPath, c.csvPath,
                        c.reportSources, c.htmlPath);
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
        {L"T.exe /report d", "\"/report\" needs \"/html\" or \"/csv\".", false},
        {L"T.exe /html r", "\"/html\" needs \"/report\".", false},
        {L"T.exe /report d /html r /lotus",
         "\"/report\" cannot be used with \"/exchange\", \"/lotus\" or \"/protocol\".", false},
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
