#include <gtest/gtest.h>

#include "FakePc.h"

TEST(InternetExplorer, TheMinimumComparesNumbersEvenWhenNotFound) {
    struct Case {
        const char* fileVersion;  // of the system's shlwapi.dll, which has no export here
        const char* description;
        bool atLeast;
    };
    const Case cases[] = {
        {"5.50.4522", "Internet Explorer 5.50.4522", true},
        {"5.51", "Internet Explorer nebol detekovaný.", true},
        {nullptr, "Internet Explorer nebol detekovaný.", false},
    };
    for (const Case& c : cases) {
        FakePc pc;
        pc.dllVersions.clear();
        if (c.fileVersion) pc.fileVersions["C:\\WINDOWS\\system32\\shlwapi.dll"] = c.fileVersion;
        EXPECT_EQ(DescribeIeVersion(pc), c.description);
        EXPECT_EQ(IsIeVersionAtLeast(pc, {5, 50, 4522}), c.atLeast) << c.description;
    }
}

TEST(InternetExplorer, OnlyADisallowedActionIsAnActiveXProblemAndEachIsNamed) {
    using Policies = FakePc::Policies;
    struct Case {
        std::optional<Policies> policies;  // running, downloading signed, scripting safe controls
        bool allowed;
        std::string appended;
    };
    const Case cases[] = {
        {Policies{std::nullopt, 4, 0}, true, "OK"},
        {Policies{3, 0, 3}, false,
         "Problémy v nastavení: Spúšťanie ovládacích prvkov ActiveX, Skriptovať ActiveX označené "
         "ako bezpečné"},
        {Policies{0, 3, 1}, false,
         "Problémy v nastavení: Sťahovať podpísané ovládacie prvky ActiveX"},
        {std::nullopt, false, ""},  // no zone managers: nothing to tell
    };
    for (const Case& c : cases) {
        FakePc pc;
        pc.actionPolicies = c.policies;
        std::string detail = "kept|";
        EXPECT_EQ(CheckActiveXZonePolicy(pc, "https://tarnvik.example/", detail), c.allowed);
        EXPECT_EQ(detail, "kept|" + c.appended);
    }
}
