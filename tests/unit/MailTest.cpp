// The mail clients: the version rule, MS Outlook's version and MAPI log-on, Lotus Notes' version.
#include <gtest/gtest.h>

#include <array>

#include "FakePc.h"
#include "probes/mail/StringTableBlock.h"
#include "probes/mail/VersionRule.h"

using Triple = std::array<std::int32_t, 3>;

TEST(VersionRule, AVersionMustReachTheMinimumAndNotBeAWholeBlacklistEntry) {
    const std::tuple<Triple, Triple, const char*, bool> cases[] = {
        {{9, 0, 4526}, {9, 0, 4527}, "10.0.2627;", false}, {{9, 1, 0}, {9, 0, 4527}, "", true},
        {{8, 9, 9999}, {9, 0, 4527}, "", false}, {{10, 0, 2628}, {9, 0, 4527}, "10.0.2627;", true},
        {{5, 0, 1}, {5, 0, 0}, "5.0.11;", true}, {{6, 5, 1}, {5, 0, 6}, "5.0.11;6.5.1;", false},
    };
    for (const auto& [v, min, blacklist, accepted] : cases) {
        EXPECT_EQ(IsVersionAccepted(v[0], v[1], v[2], min[0], min[1], min[2], blacklist), accepted)
            << v[0] << '.' << v[1] << '.' << v[2] << " in " << blacklist;
    }
}

TEST(OutlookProbe, TheLibraryBesideTheRegisteredServerGivesTheTextAndTheCheckItsNumbers) {
    const std::string office = "C:\\Office\\outlook.exe", lib = "C:\\OFFICE\\OUTLLIB.DLL";
    // elevated, class id, server (both in HKCR), library path, FileVersion text of lib, text, accepted
    const std::tuple<bool, std::string, std::string, std::string, const char*, const char*, bool> cases[] = {
        {false, "{0006F03A}", "c:\\Office\\OUTLOOK.exe", lib, "10.0.2627.1", "MS Outlook 10.0.2627", false},
        {false, "{0006F03A}", office, lib, "9.1", "", true},  // not found, yet 9.1.0 passes
        {false, "{0006F03A}", "\"" + office + "\" /a", "\"" + lib + "\" /A", "9.0.4527", "", false},
        {false, "{" + std::string(1022, 'A') + "}", office, "", "9.0.4527", "", false},
        {true, "{0006F03A}", office, "", "9.0.4527", "", false},  // a user's own class, not the PC's
    };
    for (const auto& [elevated, classId, server, library, resource, text, accepted] : cases) {
        SCOPED_TRACE(server);
        FakePc pc;
        pc.registry = {{"HKCR\\Outlook.Application\\CLSID|", classId},
                       {"HKCR\\CLSID\\" + classId + "\\LocalServer32|", server}};
        pc.dllVersions.clear();  // the version resource answers
        pc.fileVersions[lib] = resource;
        const OutlookProbe outlook(pc, elevated);
        EXPECT_EQ(outlook.GetOutlookLibraryPath(), library);
        EXPECT_EQ(outlook.GetOutlookVersionText(), text);
        EXPECT_EQ(outlook.CheckOutlookVersion(9, 0, 4527, "10.0.2627;"), accepted);
    }
}

TEST(OutlookProbe, MapiFindsTheRegisteredMailClientsLibrariesInItsLocalFolder) {
    const std::string client = "HKLM\\Software\\Clients\\Mail\\Mail|";
    // DLLPathEx, DLLPath, folder added to the library search
    const std::tuple<const char*, const char*, std::optional<std::string>> cases[] = {
        {"C:\\Mail\\ex.dll", "C:\\Old\\mapi.dll", "C:\\Mail"},
        {nullptr, "D:\\mapi.dll", "D:\\"},
        {"\\\\server\\mail\\ex.dll", "C:\\Old\\mapi.dll", std::nullopt},
    };
    for (const auto& [ex, plain, folder] : cases) {
        FakePc pc;
        pc.registry["HKLM\\Software\\Clients\\Mail|"] = "Mail";
        if (ex) pc.registry[client + "DLLPathEx"] = ex;
        pc.registry[client + "DLLPath"] = plain;
        EXPECT_EQ(MailClientLibraryFolder(pc), folder) << plain;
    }
}

TEST(OutlookProbe, EveryMapiStepFailsWithItsTextAndReleasesWhatItTookInReverse) {
    using Mapi = FakePc::Mapi;
    constexpr std::int32_t kFailed = static_cast<std::int32_t>(0x80004005u);
    const std::string off = "disable owner";
    const std::string on = "enable and focus owner";
    // MAPI_LOGON_UI, MAPI_NEW_SESSION and MAPI_EXPLICIT_PROFILE with an empty profile name;
    // without windows MAPI_NEW_SESSION and MAPI_USE_DEFAULT with none.
    const std::string logon = "logon 19";
    struct Case {
        std::optional<Mapi> mapi;
        bool showWindows;
        const char* message;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {.mapi = std::nullopt,
         .showWindows = true,
         .message = "Failed to initialize MAPI.",
         .log = {off, on}},
        {.mapi = Mapi{std::nullopt, 0, true},
         .showWindows = true,
         .message = "Failed to initialize MAPI (MAPIInitialize).",
         .log = {off, "load", "unload", on}},
        {.mapi = Mapi{kFailed, 0, true},
         .showWindows = true,
         .message = "Failed to initialise MAPI (Initialize)",
         .log = {off, "load", "initialize", "unload", on}},
        {.mapi = Mapi{0, std::nullopt, true},
         .showWindows = true,
         .message = "Failed to initialize MAPI (MAPILogonEx).",
         .log = {off, "load", "initialize", "uninitialize", "unload", on}},
        {.mapi = Mapi{0, kFailed, true},
         .showWindows = true,
         .message = "MAPI Logon failed.",
         .log = {off, "load", "initialize", logon, "uninitialize", "unload", on}},
        {.mapi = Mapi{1, 0, false},  // S_FALSE from MAPIInitialize is a success too
         .showWindows = true,
         .message = "OK",
         .log = {off, "load", "initialize", logon, "unload", on}},
        {.mapi = Mapi{0, kFailed, true},
         .showWindows = false,
         .message = "MAPI Logon failed.",
         .log = {off, "load", "initialize", "logon default 66", "uninitialize", "unload", on}},
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
}

TEST(OutlookProbe, AFailedLogOnNamesTheBuildThatSuitsAnOutlookOfTheOtherMachineType) {
    const auto module = [](std::uint16_t machine, std::size_t size = 0x86) {
        std::vector<std::uint8_t> bytes(0x86, 0);  // "MZ", the PE header at 0x80, its machine
        for (const auto& [at, byte] : {std::pair<int, int>{0, 'M'}, {1, 'Z'}, {0x3C, 0x80},
                                       {0x80, 'P'}, {0x81, 'E'}, {0x84, machine & 0xFF},
                                       {0x85, machine >> 8}}) {
            bytes[at] = static_cast<std::uint8_t>(byte);
        }
        return bytes.resize(size), bytes;
    };
    const char kUse32[] = "Failed to initialize MAPI. Failed to log on to MAPI: MS Outlook is "
                          "32-bit, use the 32-bit TarnvikAnalyzer.exe.";
    const char kUse64[] = "MAPI Logon failed. Failed to log on to MAPI: MS Outlook is 64-bit, use "
                          "the x64 TarnvikAnalyzer.exe.";
    // OUTLLIB.DLL's first bytes, this program's machine, message (MAPI loads only for x86)
    const std::tuple<std::vector<std::uint8_t>, std::uint16_t, const char*> cases[] = {
        {module(kMachineX86), kMachineX64, kUse32},
        {module(kMachineX64), kMachineX86, kUse64},  // fails at the log-on itself
        {module(kMachineX86), kMachineX86, "MAPI Logon failed."},
        {module(kMachineX86, 0x84), kMachineX64, "Failed to initialize MAPI."},  // no machine
    };
    for (const auto& [fileStart, program, text] : cases) {
        FakePc pc;
        pc.fileStarts["C:\\OFFICE\\OUTLLIB.DLL"] = fileStart;
        pc.programMachine = program;
        pc.mapi->logon = static_cast<std::int32_t>(0x80040111u);
        if (program == kMachineX64) pc.mapi.reset();
        std::string message;
        EXPECT_FALSE(OutlookProbe(pc, true).TestMapiLogon(message, true));
        EXPECT_EQ(message, text);
    }
}

TEST(NotesProbe, TheProgramFileVersionWinsElseTheReleaseTextOfNstrings) {
    // whether C:\Notes\notes.exe reads 6.5.4 (its export, never asked, 7.0.0), string 1 of
    // nstrings.dll there, text, accepted
    const std::tuple<bool, const char*, const char*, bool> cases[] = {
        {true, "Release 5.0.11", "Lotus Notes 6.5.4", true},
        {false, "|Release 5.0.11 |Build V5011", "Release 5.0.11", false},
        {false, " Release 6.5.4 FP1\t|", "Release 6.5.4 FP1", true},
        {false, "", "", false},
    };
    for (const auto& [programVersion, release, text, accepted] : cases) {
        SCOPED_TRACE(release);
        FakePc pc;
        pc.registry["HKLM\\SOFTWARE\\Lotus\\Notes|Path"] = "C:\\Notes\\";
        pc.registry["HKLM\\SOFTWARE\\Lotus\\Notes|Name"] = "notes.exe";
        pc.dllVersions["C:\\Notes\\notes.exe"] = FakePc::Version(7, 0, 0);
        if (programVersion) pc.fileVersions["C:\\Notes\\notes.exe"] = "6.5.4";
        pc.libraryStrings["C:\\Notes\\nstrings.dll#1"] = release;
        const NotesProbe notes(pc);
        EXPECT_EQ(notes.GetNotesVersionText(), text);
        EXPECT_EQ(notes.CheckNotesVersion(5, 0, 6, "5.0.11;"), accepted);
    }
}

TEST(NotesProbe, AReleaseTextGivesUpToThreeNumbersOfItsJoinedDigits) {
    const std::pair<const char*, Triple> cases[] = {
        {"Release 6.5.4 FP1", {6, 5, 41}}, {"6.0.3", {6, 0, 3}},  {"Release 5..6", {5, 6, 0}},
        {"5.0.12.1", {5, 0, 12}},          {"R 99999999999.1.2", {INT32_MAX, 1, 2}}, {"", {0, 0, 0}},
    };
    for (const auto& [text, expected] : cases) {
        Triple parsed = {-1, -1, -1};
        NotesProbe::ParseVersionText(parsed[0], parsed[1], parsed[2], text);
        EXPECT_EQ(parsed, expected) << text;
    }
}

TEST(StringTableBlock, EveryLengthIsCheckedAgainstTheBlock) {
    // block as 16-bit units, index, string (null: malformed or missing)
    const std::tuple<std::vector<std::uint16_t>, unsigned, const char16_t*> cases[] = {
        {{0, 2, u'5', u'.', 1, u'x'}, 2, u"x"}, {{0, 0}, 1, u""},
        {{0xFFFF, u'R'}, 1, nullptr},  // string 0 claims far more than the block holds
        {{0, 3, u'5', u'.'}, 1, nullptr}, {{0}, 1, nullptr}, {{}, 0, nullptr},
    };
    for (const auto& [units, index, expected] : cases) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(units.data());  // little-endian, as a block
        const auto text = StringTableEntry(bytes, units.size() * 2, index);
        EXPECT_EQ(text.value_or(u"<none>"), expected ? expected : u"<none>");
    }
    const std::uint8_t halfALength[] = {0, 0, 1};
    EXPECT_FALSE(StringTableEntry(halfALength, 3, 1));
}
