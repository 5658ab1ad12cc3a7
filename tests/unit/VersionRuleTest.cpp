#include "probes/mail/VersionRule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

struct Version {
    std::int32_t major, minor, build;
};

bool OutlookAccepts(Version v) {
    return IsVersionAccepted(v.major, v.minor, v.build, 9, 0, 4527, "10.0.2627;");
}

bool NotesAccepts(Version v, const char* blacklist = "5.0.11;") {
    return IsVersionAccepted(v.major, v.minor, v.build, 5, 0, 6, blacklist);
}

TEST(IsVersionAccepted, MinimumIsComparedComponentByComponent) {
    EXPECT_TRUE(OutlookAccepts({9, 0, 4527}));
    EXPECT_FALSE(OutlookAccepts({9, 0, 4526}));
    EXPECT_TRUE(OutlookAccepts({9, 1, 0}));       // a greater minor outweighs a smaller build
    EXPECT_TRUE(OutlookAccepts({10, 0, 0}));      // a greater major outweighs the rest
    EXPECT_FALSE(OutlookAccepts({8, 99, 99999}));
    EXPECT_TRUE(OutlookAccepts({11, 0, 0}));
    EXPECT_FALSE(OutlookAccepts({0, 0, 0}));      // nothing was read
}

TEST(IsVersionAccepted, ComponentsCompareAsSignedNumbers) {
    EXPECT_FALSE(IsVersionAccepted(-1, 0, 0, 0, 0, 0, ""));
    EXPECT_TRUE(IsVersionAccepted(0, 0, 0, -1, 5, 5, ""));
    EXPECT_TRUE(IsVersionAccepted(std::numeric_limits<std::int32_t>::max(), 0, 0, 9, 0, 4527, ""));
    EXPECT_FALSE(IsVersionAccepted(std::numeric_limits<std::int32_t>::min(), 0, 0, 9, 0, 4527, ""));
    // Negative numbers form their key with their sign.
    EXPECT_FALSE(IsVersionAccepted(-1, -2, -3, -5, 0, 0, "-1.-2.-3;"));
    EXPECT_TRUE(IsVersionAccepted(1, 2, 3, -5, 0, 0, "-1.-2.-3;"));
}

TEST(IsVersionAccepted, BlacklistedVersionIsRejectedAndItsNeighboursAreNot) {
    EXPECT_FALSE(OutlookAccepts({10, 0, 2627}));
    EXPECT_TRUE(OutlookAccepts({10, 0, 2625}));
    EXPECT_TRUE(OutlookAccepts({10, 0, 2628}));
    EXPECT_TRUE(OutlookAccepts({10, 1, 2627}));
}

TEST(IsVersionAccepted, KeyDoesNotMatchAnEntryThatOnlyBeginsWithIt) {
    EXPECT_TRUE(NotesAccepts({5, 0, 6}));
    EXPECT_FALSE(NotesAccepts({5, 0, 5}));
    EXPECT_FALSE(NotesAccepts({5, 0, 11}));
    EXPECT_TRUE(NotesAccepts({5, 0, 12}));
    EXPECT_FALSE(NotesAccepts({4, 6, 7}));
    EXPECT_TRUE(IsVersionAccepted(5, 0, 1, 0, 0, 0, "5.0.11;"));
    EXPECT_TRUE(IsVersionAccepted(5, 0, 1, 0, 0, 0, "15.0.11;"));
}

TEST(IsVersionAccepted, KeyCanMatchTheTailOfALongerEntry) {
    // A plain substring search: a key also matches the end of a longer entry.
    EXPECT_FALSE(IsVersionAccepted(0, 0, 2627, 0, 0, 0, "10.0.2627;"));
    EXPECT_FALSE(IsVersionAccepted(5, 0, 11, 5, 0, 6, "15.0.11;"));
}

TEST(IsVersionAccepted, EmptyBlacklistRejectsNothingAtOrAboveTheMinimum) {
    EXPECT_TRUE(NotesAccepts({5, 0, 6}, ""));
    EXPECT_TRUE(NotesAccepts({5, 0, 11}, ""));
    EXPECT_TRUE(IsVersionAccepted(10, 0, 2627, 9, 0, 4527, ""));
}

TEST(IsVersionAccepted, TwoEntryListRejectsExactlyItsEntries) {
    const char* list = "5.0.11;6.5.1;";
    EXPECT_FALSE(NotesAccepts({5, 0, 11}, list));
    EXPECT_FALSE(NotesAccepts({6, 5, 1}, list));
    for (const Version v : {Version{5, 0, 7}, Version{5, 0, 10}, Version{5, 0, 110},
                            Version{6, 5, 11}, Version{6, 5, 10}, Version{16, 5, 1},
                            Version{5, 1, 11}, Version{6, 5, 0}}) {
        EXPECT_TRUE(NotesAccepts(v, list)) << v.major << "." << v.minor << "." << v.build;
    }
}

TEST(IsVersionAccepted, NotesListOfTheTestRunRejectsTheReleasesItsMessageNames) {
    // 6.0 is the three numbers 6, 0, 0 as a release text "Release 6.0" parses.
    const char* list = "5.0.11;6.0.0;6.0.1;";
    EXPECT_FALSE(NotesAccepts({5, 0, 11}, list));
    EXPECT_FALSE(NotesAccepts({6, 0, 0}, list));
    EXPECT_FALSE(NotesAccepts({6, 0, 1}, list));
    EXPECT_TRUE(NotesAccepts({6, 0, 2}, list));
    EXPECT_TRUE(NotesAccepts({6, 0, 10}, list));
    EXPECT_TRUE(NotesAccepts({6, 0, 11}, list));
    EXPECT_TRUE(NotesAccepts({16, 0, 0}, list));
    EXPECT_TRUE(NotesAccepts({6, 5, 4}, list));
    EXPECT_TRUE(NotesAccepts({5, 0, 12}, list));
}

}  // namespace
