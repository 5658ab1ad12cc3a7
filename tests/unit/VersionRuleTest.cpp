#include "probes/mail/VersionRule.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>

namespace {

using Version = std::array<std::int32_t, 3>;
constexpr Version kOutlookMin{9, 0, 4527};
constexpr Version kNotesMin{5, 0, 6};
constexpr Version kNoMin{0, 0, 0};

void Expect(bool accepted, Version min, const char* blacklist, std::initializer_list<Version> vs) {
    for (const Version& v : vs) {
        EXPECT_EQ(IsVersionAccepted(v[0], v[1], v[2], min[0], min[1], min[2], blacklist), accepted)
            << v[0] << "." << v[1] << "." << v[2] << " against " << min[0] << "." << min[1] << "."
            << min[2] << " and \"" << blacklist << "\"";
    }
}

TEST(IsVersionAccepted, MinimumIsComparedComponentByComponentAsSignedNumbers) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    // A greater minor outweighs a smaller build, a greater major all the rest.
    Expect(true, kOutlookMin, "", {{9, 0, 4527}, {9, 1, 0}, {10, 0, 0}, {kMax, 0, 0}});
    Expect(false, kOutlookMin, "", {{9, 0, 4526}, {8, 99, 99999}, {0, 0, 0}, {kMin, 0, 0}});
    Expect(false, {9, 1, 0}, "", {{9, 0, 9999}});
    Expect(false, kNoMin, "", {{-1, 0, 0}});
    Expect(true, {-1, 5, 5}, "", {{0, 0, 0}});
}

TEST(IsVersionAccepted, BlacklistEntriesEndWithASemicolonAndMatchAsSubstrings) {
    Expect(false, kOutlookMin, "10.0.2627;", {{10, 0, 2627}});
    Expect(true, kOutlookMin, "10.0.2627;", {{10, 0, 2625}, {10, 0, 2628}, {10, 1, 2627}});
    Expect(true, kOutlookMin, "", {{10, 0, 2627}});
    // The ';' keeps a key from matching an entry that only begins with it...
    Expect(true, kNoMin, "5.0.11;15.0.11;", {{5, 0, 1}});
    // ...but a key still matches the end of a longer entry.
    Expect(false, kNoMin, "10.0.2627;", {{0, 0, 2627}});
    Expect(false, kNotesMin, "15.0.11;", {{5, 0, 11}});
    // Negative numbers form their key with their sign.
    Expect(false, {-5, 0, 0}, "-1.-2.-3;", {{-1, -2, -3}});
    Expect(true, {-5, 0, 0}, "-1.-2.-3;", {{1, 2, 3}});
}

TEST(IsVersionAccepted, ListOfSeveralEntriesRejectsExactlyThem) {
    const char* two = "5.0.11;6.5.1;";
    Expect(false, kNotesMin, two, {{5, 0, 11}, {6, 5, 1}});
    Expect(true, kNotesMin, two,
           {{5, 0, 7}, {5, 0, 10}, {5, 0, 110}, {6, 5, 11}, {6, 5, 10}, {16, 5, 1}, {5, 1, 11},
            {6, 5, 0}});
    // The list of the test run: the releases the Lotus Notes message names, 6.0 being the
    // three numbers 6, 0, 0 that a release text "Release 6.0" parses to.
    const char* notes = "5.0.11;6.0.0;6.0.1;";
    Expect(false, kNotesMin, notes, {{5, 0, 11}, {6, 0, 0}, {6, 0, 1}, {5, 0, 5}});
    Expect(true, kNotesMin, notes,
           {{5, 0, 6}, {6, 0, 2}, {6, 0, 10}, {6, 0, 11}, {16, 0, 0}, {6, 5, 4}, {5, 0, 12}});
}

}  // namespace
