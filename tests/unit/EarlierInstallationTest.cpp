#include "probes/software/EarlierInstallation.h"

#include <gtest/gtest.h>

#include <string>

#include "FakeRegistry.h"

namespace {

using Root = platform::RegistryRoot;

const char kClientKey[] = "SOFTWARE\\Devadozededa";
const char kNoTrace[] = "Tarnvik nie je nainštalovaný.";
const char kTrace[] = "Tarnvik už je alebo bol niekedy nainštalovaný.";

// Runs the check on a caller string pre-filled with a sentinel, as the test run empties it
// but the probe must replace whatever it holds.
std::pair<bool, std::string> Check(const FakeRegistry& registry) {
    std::string text = "sentinel";
    const bool passed = CheckEarlierInstallation(registry, text);
    return {passed, text};
}

TEST(EarlierInstallationTest, NoTraceWithoutARootPath) {
    FakeRegistry noKey;
    FakeRegistry keyOnly;
    keyOnly.AddKey(Root::LocalMachine, kClientKey);
    FakeRegistry emptyRoot;
    emptyRoot.SetString(Root::LocalMachine, kClientKey, "Root", "");
    FakeRegistry otherValue;
    otherValue.SetString(Root::LocalMachine, kClientKey, "Path", "C:\\Tarnvik");

    for (const FakeRegistry* registry : {&noKey, &keyOnly, &emptyRoot, &otherValue}) {
        EXPECT_EQ(ReadClientRootPath(*registry), "");
        EXPECT_EQ(Check(*registry), std::make_pair(true, std::string(kNoTrace)));
    }
}

TEST(EarlierInstallationTest, AnyRootPathIsATrace) {
    FakeRegistry registry;
    registry.SetString(Root::LocalMachine, kClientKey, "Root", "C:\\Program Files\\Nowhere");
    EXPECT_EQ(ReadClientRootPath(registry), "C:\\Program Files\\Nowhere");
    EXPECT_EQ(Check(registry), std::make_pair(false, std::string(kTrace)));

    // Whatever the value's type: the data up to its first zero byte is the path.
    FakeRegistry binary;
    binary.SetData(Root::LocalMachine, kClientKey, "ROOT", std::string("D:\\T\0junk", 9));
    EXPECT_EQ(ReadClientRootPath(binary), "D:\\T");
    EXPECT_FALSE(Check(binary).first);
}

TEST(EarlierInstallationTest, OnlyTheMachineKeyCounts) {
    FakeRegistry registry;
    registry.SetString(Root::CurrentUser, kClientKey, "Root", "C:\\Tarnvik");
    EXPECT_EQ(Check(registry), std::make_pair(true, std::string(kNoTrace)));
}

TEST(EarlierInstallationTest, RootIsReadIntoEightThousandBytes) {
    FakeRegistry fits;
    fits.SetString(Root::LocalMachine, kClientKey, "Root", std::string(7999, 'x'));
    EXPECT_EQ(ReadClientRootPath(fits).size(), 7999u);
    EXPECT_FALSE(Check(fits).first);

    // A value too large for the buffer cannot be read, and an unreadable value is no trace.
    FakeRegistry tooLarge;
    tooLarge.SetString(Root::LocalMachine, kClientKey, "Root", std::string(8000, 'x'));
    EXPECT_EQ(ReadClientRootPath(tooLarge), "");
    EXPECT_TRUE(Check(tooLarge).first);
}

}  // namespace
