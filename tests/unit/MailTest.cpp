#include <gtest/gtest.h>

#include "FakePc.h"
#include "probes/mail/StringTableBlock.h"

TEST(OutlookProbe, TheLibraryBesideTheRegisteredServerGivesTheVersion) {
    const std::string office = "C:\\Office\\outlook.exe";
    const std::string library = "C:\\OFFICE\\OUTLLIB.DLL";
    struct Case {
        bool elevated;
        std::string classId;  // both registered in HKCR only
        std::string server;
        std::string libraryPath;
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {false, "{0006F03A}", "c:\\Office\\OUTLOOK.exe", library, "MS Outlook 9.0.4527", true},
        {false, "{0006F03A}", "\"" + office + "\" /a", "\"" + library + "\" /A", "", false},
        {false, "{" + std::string(1022, 'A') + "}", office, "", "", false},
        {true, "{0006F03A}", office, "", "", false},  // a user's own class, not the PC's
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        FakePc pc;
        pc.registry = {
            {"HKCR\\Outlook.Application\\CLSID|", c.classId},
            {"HKCR\\CLSID\\" + c.classId + "\\LocalServer32|", c.server},
        };
        pc.dllVersions.clear();                   // the version resource answers
        pc.fileVersions[library] = "9.0.4527.1";  // an acceptable one, where it is found
        const OutlookProbe outlook(pc, c.elevated);
        EXPECT_EQ(outlook.GetOutlookLibraryPath(), c.libraryPath);
        EXPECT_EQ(outlook.GetOutlookVersionText(), c.text);
        EXPECT_EQ(outlook.CheckOutlookVersion({9, 0, 4527}, "10.0.2627;"), c.accepted);
    }
}

TEST(OutlookProbe, EachMapiStepFailsWithItsTextAndReleasesInReverse) {
    using Mapi = FakePc::Mapi;
    constexpr std::int32_t kFailed = static_cast<std::int32_t>(0x80004005u);
    const std::string off = "disable owner", on = "enable and focus owner";
    // The library's calls inside the session, inside the library, inside the disabled owner.
    const auto log = [&](std::vector<std::string> calls) {
        calls.insert(calls.begin(), {off, "load", "session"});
        calls.insert(calls.end(), {"session ended", "unload", on});
        return calls;
    };
    // MAPI_LOGON_UI, MAPI_NEW_SESSION and MAPI_EXPLICIT_PROFILE with an empty profile name;
    // without windows MAPI_NEW_SESSION and MAPI_USE_DEFAULT with none.
    const std::string logon = "logon 19";
    struct Case {
        std::optional<Mapi> mapi;  // initialize, logon, has MAPIUninitialize
        const char* message;
        std::vector<std::string> log;
        bool showWindows = true;
    };
    const Case cases[] = {
        {std::nullopt, "Failed to initialize MAPI.", {off, on}},
        {Mapi{std::nullopt}, "Failed to initialize MAPI (MAPIInitialize).", log({})},
        {Mapi{kFailed}, "Failed to initialise MAPI (Initialize)", log({"initialize"})},
        {Mapi{0, std::nullopt}, "Failed to initialize MAPI (MAPILogonEx).",
         log({"initialize", "uninitialize"})},
        {Mapi{0, kFailed}, "MAPI Logon failed.", log({"initialize", logon, "uninitialize"})},
        {Mapi{1, 0, false}, "OK", log({"initialize", logon})},  // S_FALSE succeeds too
        {Mapi{0, kFailed}, "MAPI Logon failed.",
         log({"initialize", "logon default 66", "uninitialize"}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        FakePc pc;
        pc.mapi = c.mapi;
        std::string message = "stale";
        const bool loggedOn = OutlookProbe(pc, true).TestMapiLogon(message, c.showWindows);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(loggedOn, message == std::string("OK"));
        EXPECT_EQ(pc.mapiLog, c.log);
    }
    // A session still going at its deadline failed; it keeps its library while it may run on.
    FakePc pc;
    pc.mapiSessionGivenUp = true;
    std::string message;
    EXPECT_FALSE(OutlookProbe(pc, true).TestMapiLogon(message, false));
    EXPECT_EQ(message, "MAPI Logon failed.");
    EXPECT_EQ(pc.mapiLog, (std::vector<std::string>{off, "load", "session", on}));
}

// MAPI runs inside the program: a failed log-on names the other exe only for an MS Outlook of the
// other machine type (this fake program is x64).
TEST(OutlookProbe, AFailedLogonNamesTheExeOfMsOutlooksBitnessOnlyWhenItDiffers) {
    struct Case {
        std::uint16_t outlookMachine;
        const char* message;
    };
    const Case cases[] = {
        {.outlookMachine = kMachineX64, .message = "Failed to initialize MAPI."},
        {.outlookMachine = kMachineX86,
         .message =
             "Failed to initialize MAPI. Failed to log on to MAPI: MS Outlook is 32-bit, use "
             "the 32-bit TarnvikAnalyzer.exe."},
    };
    for (const Case& c : cases) {
        FakePc pc;
        pc.mapi.reset();
        std::vector<std::uint8_t> header(0x40 + 6);
        header[0] = 'M', header[1] = 'Z', header[0x3C] = 0x40;
        header[0x40] = 'P', header[0x41] = 'E';
        header[0x44] = c.outlookMachine & 0xFF, header[0x45] = c.outlookMachine >> 8;
        pc.fileStarts["C:\\OFFICE\\OUTLLIB.DLL"] = header;
        std::string message;
        EXPECT_FALSE(OutlookProbe(pc, false).TestMapiLogon(message, true));
        EXPECT_EQ(message, c.message);
    }
}

TEST(OutlookProbe, AnElevatedRunLoadsOnlyAMailClientLibraryNobodyElseCanChange) {
    const std::string key = "HKLM\\Software\\Clients\\Mail\\Mail";
    const char kLib[] = "C:\\Mail\\x.dll";
    struct Case {
        bool elevated = true;
        const char* ex = nullptr;    // DLLPathEx, null: not there
        const char* path = nullptr;  // DLLPath
        std::string writable = "";
        bool loads = false;
    };
    const Case cases[] = {
        {.ex = kLib, .loads = true},
        {.ex = kLib, .writable = "C:\\Mail"},
        {.elevated = false, .ex = kLib, .writable = "C:\\Mail", .loads = true},
        {.ex = "", .path = kLib, .writable = kLib},
        {.path = "x.dll"},
    };
    for (const Case& c : cases) {
        FakePc pc;
        pc.registry["HKLM\\Software\\Clients\\Mail|"] = "Mail";
        if (c.ex) pc.registry[key + "|DLLPathEx"] = c.ex;
        if (c.path) pc.registry[key + "|DLLPath"] = c.path;
        pc.writableByUsers = {c.writable};
        std::string message;  // its text is the Windows tier's to compare
        EXPECT_EQ(OutlookProbe(pc, c.elevated).TestMapiLogon(message, false), c.loads);
        EXPECT_EQ(pc.mapiLog.size() > 2, c.loads) << message;
    }
}

TEST(NotesProbe, TheProgramFileVersionWinsElseTheReleaseTextOfNstrings) {
    struct Case {
        const char* programVersion;  // C:\Notes\notes.exe's resource; its export is never asked
        const char* release;         // string 1 of C:\Notes\nstrings.dll
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {"6.5.4", "Release 5.0.11", "Lotus Notes 6.5.4", true},
        {nullptr, "|Release 5.0.11 |Build V5011", "Release 5.0.11", false},
        {nullptr, " Release 6.5.4 FP1\t|", "Release 6.5.4 FP1", true},
        {nullptr, "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.release);
        FakePc pc;
        pc.dllVersions["C:\\Notes\\notes.exe"] = {7, 0, 0};
        if (c.programVersion) pc.fileVersions["C:\\Notes\\notes.exe"] = c.programVersion;
        pc.libraryStrings["C:\\Notes\\nstrings.dll#1"] = c.release;
        const NotesProbe notes(pc);
        EXPECT_EQ(notes.GetNotesVersionText(), c.text);
        EXPECT_EQ(notes.CheckNotesVersion({5, 0, 6}, "5.0.11;"), c.accepted);
        const auto& paths = pc.versionPaths;
        EXPECT_EQ(std::count(paths.begin(), paths.end(), "C:\\Notes\\notes.exe"), 1) << "read once";
    }
}

TEST(NotesProbe, AReleaseTextGivesUpToThreeNumbersOfItsJoinedDigits) {
    struct Case {
        const char* text;
        Version version;
    };
    const Case cases[] = {
        {"Release 6.5.4 FP1", {6, 5, 41}},
        {"Release 5..6", {5, 6, 0}},
        {"5.0.12.1", {5, 0, 12}},
        {"R 12345678901234567890.1.2", {INT32_MAX, 1, 2}},
        {"", {0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NotesProbe::ParseVersionText(c.text).Text(), c.version.Text()) << c.text;
    }
}

TEST(StringTableBlock, EveryLengthIsCheckedAgainstTheBlock) {
    struct Case {
        std::vector<std::uint16_t> units;  // the block as little-endian 16-bit units
        unsigned index;
        const char16_t* text;  // null: malformed or missing
    };
    const Case cases[] = {
        {{0, 2, u'5', u'.', 1, u'x'}, 2, u"x"},
        {{0, 0}, 1, u""},
        {{0xFFFF, u'R'}, 1, nullptr},  // string 0 claims far more than the block holds
        {{0}, 1, nullptr},
        {{}, 0, nullptr},
    };
    for (const Case& c : cases) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.units.data());
        const auto text = StringTableEntry(bytes, c.units.size() * 2, c.index);
        EXPECT_EQ(text.value_or(u"<none>"), c.text ? c.text : u"<none>");
    }
    const std::uint8_t halfALength[] = {0, 0, 1};
    EXPECT_FALSE(StringTableEntry(halfALength, 3, 1));
}
