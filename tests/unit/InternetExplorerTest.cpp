#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "probes/software/InternetExplorer.h"
#include "probes/software/ModuleVersion.h"

namespace {

class KnownVersion : public ModuleVersion {
public:
    KnownVersion(std::int32_t major_, std::int32_t minor_, std::int32_t build_, bool found_) {
        major = major_;
        minor = minor_;
        build = build_;
        found = found_;
    }
};

TEST(IeVersionText, FoundVersionIsShownWithThreeNumbers) {
    EXPECT_EQ("Internet Explorer 6.0.2900", DescribeIeVersion(KnownVersion(6, 0, 2900, true)));
}

TEST(IeVersionText, MissingVersionSaysNotDetectedWhateverTheNumbers) {
    EXPECT_EQ("Internet Explorer nebol detekovaný.",
              DescribeIeVersion(KnownVersion(1, 2, 0, false)));
}

TEST(IeVersionMinimum, ComparesMajorMinorBuildInOrder) {
    struct Case {
        std::int32_t major, minor, build;
        bool expected;
    };
    const Case cases[] = {
        {6, 0, 2900, true},   {5, 50, 4522, true}, {5, 50, 4521, false}, {5, 51, 0, true},
        {5, 0, 9999, false},  {4, 99, 9999, false}, {5, 50, 99999, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected,
                  IsIeVersionAtLeast(KnownVersion(c.major, c.minor, c.build, true), 5, 50, 4522))
            << c.major << "." << c.minor << "." << c.build;
    }
}

TEST(IeVersionMinimum, NumbersCountEvenWhenNothingWasFound) {
    EXPECT_FALSE(IsIeVersionAtLeast(KnownVersion(0, 0, 0, false), 5, 50, 4522));
    // A partial parse leaves its numbers behind, and they are compared as they stand.
    EXPECT_TRUE(IsIeVersionAtLeast(KnownVersion(6, 1, 0, false), 5, 50, 4522));
}

class FakeZonePolicy final : public ZonePolicySource {
public:
    bool creatable = true;
    std::map<std::uint32_t, std::optional<std::uint32_t>> policies;
    std::string openedUrl;
    mutable int queries = 0;

    bool OpenZoneOf(const std::string& url) override {
        openedUrl = url;
        return creatable;
    }
    std::optional<std::uint32_t> ActionPolicy(std::uint32_t action) const override {
        ++queries;
        const auto it = policies.find(action);
        return it == policies.end() ? std::nullopt : it->second;
    }
    void SetAll(std::uint32_t policy) {
        for (std::uint32_t action : {kUrlActionActiveXRun, kUrlActionDownloadSignedActiveX,
                                     kUrlActionScriptSafeActiveX}) {
            policies[action] = policy;
        }
    }
};

const std::string kUrl = "https://sync.example/es/logon.asp";

TEST(ActiveXZonePolicy, AllThreeDisallowedAreListedInOrder) {
    FakeZonePolicy zone;
    zone.SetAll(kUrlPolicyDisallow);
    std::string detail;
    EXPECT_FALSE(CheckActiveXZonePolicy(zone, kUrl, detail));
    EXPECT_EQ(
        "Problémy v nastavení: Spúšťanie ovládacích prvkov ActiveX, Sťahovať podpísané "
        "ovládacie prvky ActiveX, Skriptovať ActiveX označené ako bezpečné",
        detail);
    EXPECT_EQ(kUrl, zone.openedUrl);
}

TEST(ActiveXZonePolicy, OnlySignedDownloadDisallowed) {
    FakeZonePolicy zone;
    zone.SetAll(0);
    zone.policies[kUrlActionDownloadSignedActiveX] = kUrlPolicyDisallow;
    std::string detail;
    EXPECT_FALSE(CheckActiveXZonePolicy(zone, kUrl, detail));
    EXPECT_EQ("Problémy v nastavení: Sťahovať podpísané ovládacie prvky ActiveX", detail);
}

TEST(ActiveXZonePolicy, FirstAndLastDisallowedAreJoinedByComma) {
    FakeZonePolicy zone;
    zone.SetAll(1);
    zone.policies[kUrlActionActiveXRun] = kUrlPolicyDisallow;
    zone.policies[kUrlActionScriptSafeActiveX] = kUrlPolicyDisallow;
    std::string detail;
    EXPECT_FALSE(CheckActiveXZonePolicy(zone, kUrl, detail));
    EXPECT_EQ(
        "Problémy v nastavení: Spúšťanie ovládacích prvkov ActiveX, Skriptovať ActiveX "
        "označené ako bezpečné",
        detail);
}

TEST(ActiveXZonePolicy, PromptAllowAndOtherValuesAreNoProblem) {
    for (std::uint32_t policy : {0u, 1u, 2u, 4u, 0x10000u}) {
        FakeZonePolicy zone;
        zone.SetAll(policy);
        std::string detail;
        EXPECT_TRUE(CheckActiveXZonePolicy(zone, kUrl, detail)) << policy;
        EXPECT_EQ("OK", detail) << policy;
    }
}

TEST(ActiveXZonePolicy, FailedPolicyQueriesAreNoProblem) {
    FakeZonePolicy zone;  // no policy answers at all
    std::string detail;
    EXPECT_TRUE(CheckActiveXZonePolicy(zone, kUrl, detail));
    EXPECT_EQ("OK", detail);
    EXPECT_EQ(3, zone.queries);
}

TEST(ActiveXZonePolicy, FindingsAreAppendedToTheCallersText) {
    FakeZonePolicy zone;
    zone.SetAll(0);
    std::string detail = "before|";
    EXPECT_TRUE(CheckActiveXZonePolicy(zone, kUrl, detail));
    EXPECT_EQ("before|OK", detail);
}

TEST(ActiveXZonePolicy, ManagersThatCannotBeCreatedFailWithoutFindings) {
    FakeZonePolicy zone;
    zone.creatable = false;
    zone.SetAll(0);
    std::string detail = "before|";
    EXPECT_FALSE(CheckActiveXZonePolicy(zone, kUrl, detail));
    EXPECT_EQ("before|", detail);
    EXPECT_EQ(0, zone.queries);
}

}  // namespace
