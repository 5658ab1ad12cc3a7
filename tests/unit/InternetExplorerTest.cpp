// Internet Explorer: its version text, the minimum 5.50.4522 and the ActiveX zone policies.
#include <gtest/gtest.h>

#include "FakePc.h"

TEST(InternetExplorer, TheMinimumComparesTheNumbersEvenWhenNoVersionWasFound) {
    // FileVersion text of the system's shlwapi.dll, which has no version export here
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"5.50.4522", "Internet Explorer 5.50.4522", true},
        {"5.50.4521", "Internet Explorer 5.50.4521", false},
        {"5.51", "Internet Explorer nebol detekovaný.", true},
        {nullptr, "Internet Explorer nebol detekovaný.", false},
    };
    for (const auto& [resource, description, atLeast] : cases) {
        FakePc pc;
        pc.dllVersions.clear();
        if (resource) pc.fileVersions["C:\\WINDOWS\\system32\\shlwapi.dll"] = resource;
        EXPECT_EQ(DescribeIeVersion(pc), description);
        EXPECT_EQ(IsIeVersionAtLeast(pc, 5, 50, 4522), atLeast) << description;
    }
}

TEST(InternetExplorer, OnlyADisallowedActionIsAnActiveXProblem) {
    using Policies = std::vector<std::optional<std::uint32_t>>;
    const std::tuple<std::optional<Policies>, bool, std::string> cases[] = {
        {Policies{std::nullopt, 4, 0}, true, "OK"},
        {Policies{0, 3, 1}, false, "Problémy v nastavení: Sťahovať podpísané ovládacie prvky ActiveX"},
        {std::nullopt, false, ""},  // no zone managers: nothing to tell
    };
    for (const auto& [policies, allowed, appended] : cases) {
        FakePc pc;
        pc.actionPolicies = policies;
        std::string detail = "kept|";
        EXPECT_EQ(CheckActiveXZonePolicy(pc, "https://tarnvik.example/", detail), allowed) << appended;
        EXPECT_EQ(detail, "kept|" + appended);
    }
}
