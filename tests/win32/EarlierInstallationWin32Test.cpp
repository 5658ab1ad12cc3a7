#include "probes/software/EarlierInstallation.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Win32TestSupport.h"

namespace {

using win32test::TestKey;

void ExpectTrace(bool traced, const std::string& rootPath) {
    std::string text = "sentinel";
    EXPECT_EQ(CheckEarlierInstallation(text), !traced);
    EXPECT_EQ(text, traced ? "Tarnvik už je alebo bol niekedy nainštalovaný."
                           : "Tarnvik nie je nainštalovaný.");
    EXPECT_EQ(ReadClientRootPath(), rootPath);
}

TEST(EarlierInstallationWin32Test, ARootInEitherViewOfTheMachineKeyIsATrace) {
    ExpectTrace(false, "");
    const struct {
        HKEY root;
        REGSAM view;
        const char* rootPath;
        bool traced;
    } cases[] = {
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "C:\\Program Files\\Tarnvik", true},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "C:\\Program Files (x86)\\Tarnvik", true},  // 32-bit installer
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "", false},
        {HKEY_CURRENT_USER, 0, "C:\\Tarnvik", false},  // the user's key is not looked at
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rootPath);
        {
            TestKey key(c.root, "SOFTWARE\\Devadozededa", c.view);
            key.SetString("Root", c.rootPath);
            ExpectTrace(c.traced, c.traced ? c.rootPath : "");
        }
        ExpectTrace(false, "");
    }
}

}  // namespace
