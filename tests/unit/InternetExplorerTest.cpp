#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "probes/software/InternetExplorer.h"
#include "probes/software/ModuleVersion.h"

namespace {

struct KnownVersion : ModuleVersion {
    KnownVersion(std::int32_t a, std::int32_t b, std::int32_t c, bool f) {
        std::tie(major, minor, build, found) = std::tie(a, b, c, f);
    }
};

TEST(IeVersionText, FoundVersionShowsThreeNumbersAMissingOneSaysNotDetected) {
    EXPECT_EQ("Internet Explorer 6.0.2900", DescribeIeVersion(KnownVersion(6, 0, 2900, true)));
    EXPECT_EQ("Internet Explorer nebol detekovaný.",
              DescribeIeVersion(KnownVersion(1, 2, 0, false)));
}

// Major, minor, build in that order; the numbers count as they stand even when nothing was
// found, since a partial parse leaves its numbers behind.
TEST(IeVersionMinimum, ComparesMajorMinorBuildInOrder) {
    const struct {
        std::int32_t major, minor, build;
        bool found, expected;
    } cases[] = {
        {6, 0, 2900, true, true},  {5, 50, 4522, true, true},   {5, 50, 4521, true, false},
        {5, 51, 0, true, true},    {5, 0, 9999, true, false},   {4, 99, 9999, true, false},
        {5, 50, 99999, true, true}, {0, 0, 0, false, false},    {6, 1, 0, false, true},
    };
    for (const auto& c : cases) {
        const KnownVersion version(c.major, c.minor, c.build, c.found);
        EXPECT_EQ(c.expected, IsIeVersionAtLeast(version, 5, 50, 4522))
            << c.major << "." << c.minor << "." << c.build << " found " << c.found;
    }
}

struct FakeZonePolicy final : ZonePolicySource {
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
        return policies.count(action) ? policies.at(action) : std::nullopt;
    }
};

const std::string kUrl = "https://sync.example/es/logon.asp";
constexpr std::uint32_t D = kUrlPolicyDisallow;

// Only a refusal is a problem: allowed, prompt, other values and unanswered queries are not.
// The findings are appended to the caller's text.
TEST(ActiveXZonePolicy, DisallowedActionsAreListedInOrder) {
    using Policy = std::optional<std::uint32_t>;
    const struct {
        Policy run, downloadSigned, scriptSafe;
        bool passes;
        const char* detail;
    } cases[] = {
        {D, D, D, false,
         "Problémy v nastavení: Spúšťanie ovládacích prvkov ActiveX, Sťahovať podpísané "
         "ovládacie prvky ActiveX, Skriptovať ActiveX označené ako bezpečné"},
        {0u, D, 0u, false, "Problémy v nastavení: Sťahovať podpísané ovládacie prvky ActiveX"},
        {D, 1u, D, false,
         "Problémy v nastavení: Spúšťanie ovládacích prvkov ActiveX, Skriptovať ActiveX "
         "označené ako bezpečné"},
        {0u, 1u, 2u, true, "OK"},
        {4u, 0x10000u, 0u, true, "OK"},
        {std::nullopt, std::nullopt, std::nullopt, true, "OK"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);  // the row
        FakeZonePolicy zone;
        zone.policies = {{kUrlActionActiveXRun, c.run},
                         {kUrlActionDownloadSignedActiveX, c.downloadSigned},
                         {kUrlActionScriptSafeActiveX, c.scriptSafe}};
        std::string detail = "before|";
        EXPECT_EQ(c.passes, CheckActiveXZonePolicy(zone, kUrl, detail));
        EXPECT_EQ("before|" + std::string(c.detail), detail);
        EXPECT_EQ(kUrl, zone.openedUrl);
        EXPECT_EQ(3, zone.queries);
    }
}

TEST(ActiveXZonePolicy, ManagersThatCannotBeCreatedFailWithoutFindings) {
    FakeZonePolicy zone;
    zone.creatable = false;
    std::string detail = "before|";
    EXPECT_FALSE(CheckActiveXZonePolicy(zone, kUrl, detail));
    EXPECT_EQ("before|", detail);
    EXPECT_EQ(0, zone.queries);
}

}  // namespace
