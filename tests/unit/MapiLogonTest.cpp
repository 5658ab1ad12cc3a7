#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FakeRegistry.h"
#include "MailFakes.h"
#include "probes/mail/OutlookProbe.h"

namespace {

using Events = std::vector<std::string>;

const char kInitialize[] = "MAPIInitialize(0, 1)";
// No parent window, an empty profile name, no password, MAPI_LOGON_UI | MAPI_NEW_SESSION |
// MAPI_EXPLICIT_PROFILE.
const char kLogon[] = "MAPILogonEx(0, \"\", null, 0x13)";
const Events kLoggedOn = {kInitialize, kLogon, "release session", "MAPIUninitialize", "unload"};

struct Rig {
    explicit Rig(bool withOwner = true)
        : probe(withOwner ? &mapi : nullptr, registry, versions, mapi) {}
    bool Run() {
        message = "sentinel";
        return probe.TestMapiLogon(message);
    }

    FakeRegistry registry;
    mailfakes::Versions versions;
    mailfakes::MapiSeams mapi;
    std::string message;
    OutlookProbe probe;
};

// The events of one run with an owner window, around those of the library.
Events Owned(Events library) {
    library.insert(library.begin(), {"owner disabled", "load"});
    library.push_back("owner enabled and focused");
    return library;
}

TEST(MapiLogon, EveryStepThatFailsEndsTheTestAndUndoesOnlyWhatWasDone) {
    const struct {
        const char* what;
        void (*setup)(mailfakes::MapiBehaviour&);
        bool ok;
        const char* message;
        Events events;
    } cases[] = {
        {"library does not load", [](auto& b) { b.loads = false; }, false,
         "Failed to initialize MAPI.", {}},
        // MAPIUninitialize exists, but MAPI was never initialised.
        {"no MAPIInitialize", [](auto& b) { b.hasInitialize = false; }, false,
         "Failed to initialize MAPI (MAPIInitialize).", {"unload"}},
        {"MAPIInitialize fails",
         [](auto& b) { b.initializeResult = std::int32_t(0x80004005); }, false,
         "Failed to initialise MAPI (Initialize)", {kInitialize, "unload"}},
        {"MAPIInitialize gives S_FALSE", [](auto& b) { b.initializeResult = 1; }, true, "OK",
         kLoggedOn},
        {"no MAPILogonEx", [](auto& b) { b.hasLogonEx = false; }, false,
         "Failed to initialize MAPI (MAPILogonEx).", {kInitialize, "MAPIUninitialize", "unload"}},
        {"log-on cancelled", [](auto& b) { b.logonResult = std::int32_t(0x80040113); }, false,
         "MAPI Logon failed.", {kInitialize, kLogon, "MAPIUninitialize", "unload"}},
        {"logged on", [](auto&) {}, true, "OK", kLoggedOn},
        {"no MAPIUninitialize", [](auto& b) { b.hasUninitialize = false; }, true, "OK",
         {kInitialize, kLogon, "release session", "unload"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        c.setup(rig.mapi.behaviour);
        EXPECT_EQ(rig.Run(), c.ok);
        EXPECT_EQ(rig.message, c.message);
        EXPECT_EQ(rig.mapi.log, Owned(c.events));
    }
}

TEST(MapiLogon, TwoRunsEachLoadInitialiseAndLogOnAnew) {
    Rig rig;
    EXPECT_TRUE(rig.Run());
    rig.mapi.behaviour.logonResult = std::int32_t(0x80040111);  // MAPI_E_LOGON_FAILED
    EXPECT_FALSE(rig.Run());
    EXPECT_EQ(rig.message, "MAPI Logon failed.");
    Events both = Owned(kLoggedOn);
    const Events second = Owned({kInitialize, kLogon, "MAPIUninitialize", "unload"});
    both.insert(both.end(), second.begin(), second.end());
    EXPECT_EQ(rig.mapi.log, both);
}

TEST(MapiLogon, RunsWithoutAnOwnerWindow) {
    Rig rig(false);
    EXPECT_TRUE(rig.Run());
    EXPECT_EQ(rig.message, "OK");
    Events expected = kLoggedOn;
    expected.insert(expected.begin(), "load");
    EXPECT_EQ(rig.mapi.log, expected);
}

}  // namespace
