#include <gtest/gtest.h>

#include <string>

#include "FakeRegistry.h"
#include "MailFakes.h"
#include "probes/mail/OutlookProbe.h"

namespace {

using Events = mailfakes::EventLog;

const char kInitialize[] = "MAPIInitialize(0, 1)";
// No parent window, an empty profile name, no password, MAPI_LOGON_UI | MAPI_NEW_SESSION |
// MAPI_EXPLICIT_PROFILE.
const char kLogon[] = "MAPILogonEx(0, \"\", null, 0x13)";

class MapiLogonTest : public ::testing::Test {
protected:
    bool Run() {
        message = "sentinel";
        return probe.TestMapiLogon(message);
    }

    std::string message;
    mailfakes::EventLog log;
    FakeRegistry registry;
    mailfakes::Versions versions;
    mailfakes::MapiLoaderFake mapi{log};
    mailfakes::OwnerWindow owner{log};
    OutlookProbe probe{&owner, registry, versions, mapi};
};

TEST_F(MapiLogonTest, LibraryThatDoesNotLoad) {
    mapi.behaviour.loads = false;
    EXPECT_FALSE(Run());
    EXPECT_EQ(message, "Failed to initialize MAPI.");
    EXPECT_EQ(log, (Events{"owner disabled", "load", "owner enabled and focused"}));
}

TEST_F(MapiLogonTest, MissingInitializeIsNotFollowedByAnyCall) {
    mapi.behaviour.hasInitialize = false;
    EXPECT_FALSE(Run());
    EXPECT_EQ(message, "Failed to initialize MAPI (MAPIInitialize).");
    // MAPIUninitialize exists, but MAPI was never initialised.
    EXPECT_EQ(log, (Events{"owner disabled", "load", "unload", "owner enabled and focused"}));
}

TEST_F(MapiLogonTest, FailedInitializeIsNotUninitialised) {
    mapi.behaviour.initializeResult = static_cast<std::int32_t>(0x80004005);
    EXPECT_FALSE(Run());
    EXPECT_EQ(message, "Failed to initialise MAPI (Initialize)");
    EXPECT_EQ(log, (Events{"owner disabled", "load", kInitialize, "unload",
                           "owner enabled and focused"}));
}

TEST_F(MapiLogonTest, PositiveInitializeResultCountsAsSuccess) {
    mapi.behaviour.initializeResult = 1;  // S_FALSE
    EXPECT_TRUE(Run());
    EXPECT_EQ(message, "OK");
}

TEST_F(MapiLogonTest, MissingLogonExComesAfterInitializeAndIsUninitialised) {
    mapi.behaviour.hasLogonEx = false;
    EXPECT_FALSE(Run());
    EXPECT_EQ(message, "Failed to initialize MAPI (MAPILogonEx).");
    EXPECT_EQ(log, (Events{"owner disabled", "load", kInitialize, "MAPIUninitialize", "unload",
                           "owner enabled and focused"}));
}

TEST_F(MapiLogonTest, FailedOrCancelledLogonReleasesNoSession) {
    mapi.behaviour.logonResult = static_cast<std::int32_t>(0x80040113);  // MAPI_E_USER_CANCEL
    EXPECT_FALSE(Run());
    EXPECT_EQ(message, "MAPI Logon failed.");
    EXPECT_EQ(log, (Events{"owner disabled", "load", kInitialize, kLogon, "MAPIUninitialize",
                           "unload", "owner enabled and focused"}));
}

TEST_F(MapiLogonTest, SuccessfulLogonReleasesTheSessionBeforeUninitialisingAndUnloading) {
    EXPECT_TRUE(Run());
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(log, (Events{"owner disabled", "load", kInitialize, kLogon, "release session",
                           "MAPIUninitialize", "unload", "owner enabled and focused"}));
}

TEST_F(MapiLogonTest, MissingUninitializeIsSkipped) {
    mapi.behaviour.hasUninitialize = false;
    EXPECT_TRUE(Run());
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(log, (Events{"owner disabled", "load", kInitialize, kLogon, "release session",
                           "unload", "owner enabled and focused"}));
}

TEST_F(MapiLogonTest, TwoRunsEachLoadInitialiseAndLogOnAnew) {
    EXPECT_TRUE(Run());
    mapi.behaviour.logonResult = static_cast<std::int32_t>(0x80040111);  // MAPI_E_LOGON_FAILED
    EXPECT_FALSE(Run());
    EXPECT_EQ(message, "MAPI Logon failed.");
    EXPECT_EQ(log, (Events{"owner disabled", "load", kInitialize, kLogon, "release session",
                           "MAPIUninitialize", "unload", "owner enabled and focused",
                           "owner disabled", "load", kInitialize, kLogon, "MAPIUninitialize",
                           "unload", "owner enabled and focused"}));
}

TEST(MapiLogonWithoutOwner, RunsWithoutTouchingAWindow) {
    mailfakes::EventLog log;
    FakeRegistry registry;
    mailfakes::Versions versions;
    mailfakes::MapiLoaderFake mapi{log};
    OutlookProbe probe{nullptr, registry, versions, mapi};
    std::string message;
    EXPECT_TRUE(probe.TestMapiLogon(message));
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(log, (Events{"load", kInitialize, kLogon, "release session", "MAPIUninitialize",
                           "unload"}));
}

}  // namespace
