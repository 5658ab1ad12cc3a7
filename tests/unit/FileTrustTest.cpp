#include <gtest/gtest.h>

#include "platform/FileTrust.h"

using namespace platform;

namespace {

const char kPath[] = "C:\\Programs\\Office\\x.dll";  // file, folder, folder above, root
const std::string kSystem = "S-1-5-18", kAdmins = "S-1-5-32-544", kCreatorOwner = "S-1-3-0",
                  kInstaller = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
                  kUser = "S-1-5-21-1004336348-1177238915-682003330-1001", kUsers = "S-1-5-32-545";

// As Windows sets up its program folders: full control for the system, read for users, an
// inherit-only grant for what users make below; at the root users may add folders.
PathFacts Installed() {
    const std::vector<AccessEntry> dacl = {
        {.mask = 0x1F01FF, .sid = kSystem},
        {.mask = 0x1200A9, .sid = kUsers},
        {.flags = 0x0B, .mask = kGenericAll, .sid = kCreatorOwner},
    };
    PathFacts facts{.fixedDrive = true};
    for (const std::string& owner : {kAdmins, kAdmins, kSystem, kInstaller}) {
        facts.components.push_back({.security = SecurityFacts{.owner = owner, .dacl = dacl}});
    }
    facts.components[3].security->dacl->push_back({.mask = kAppendData, .sid = kUsers});
    return facts;
}

}  // namespace

TEST(FileTrust, EachRightGrantedToEachKindOfSidOnTheFileItsFolderAndAFolderAbove) {
    struct Right {
        std::uint32_t mask;
        // Still trusted when somebody else has it there.
        bool file = false, folder = false, above = false;
    };
    const Right rights[] = {
        {.mask = kWriteData, .above = true},
        {.mask = kAppendData, .above = true},
        {.mask = kWriteExtendedAttributes, .above = true},
        {.mask = kWriteAttributes, .above = true},
        {.mask = kDeleteChild, .file = true},
        {.mask = kDelete},
        {.mask = kWriteDac},
        {.mask = kWriteOwner},
        {.mask = kGenericWrite, .above = true},
        {.mask = kGenericAll},
        {.mask = 0xA01200A9, .file = true, .folder = true, .above = true},  // read and execute
    };
    // The user, Domain Users, Users, Power Users, Authenticated Users, Everyone, an entry not
    // taken apart; the trusted ones last.
    const std::string sids[] = {kUser,        "S-1-5-21-1004336348-1177238915-682003330-513",
                                kUsers,       "S-1-5-32-547",
                                "S-1-5-11",   "S-1-1-0",
                                "",           kSystem,
                                kAdmins,      kInstaller,
                                kCreatorOwner};
    for (const Right& right : rights) {
        for (std::size_t at : {0, 1, 2, 3}) {
            for (std::size_t i = 0; i < std::size(sids); ++i) {
                PathFacts facts = Installed();
                facts.components[at].security->dacl->push_back(
                    {.mask = right.mask, .sid = sids[i]});
                const bool trusted = at == 0 ? right.file : at == 1 ? right.folder : right.above;
                EXPECT_EQ(OnlyAdministratorsCanChange(kPath, facts), trusted || i >= 7)
                    << right.mask << " for " << sids[i] << " at " << at;
            }
        }
    }
}

// Inherit-only entries (0x08) grant nothing here, inherited ones (0x10) do; deny entries never
// make a path safe, wherever they stand.
TEST(FileTrust, OwnersListsEntriesReparsePointsAndDrives) {
    enum Change { Entry, Owner, NullList, EmptyList, Unreadable, ReparsePoint, RemoteDrive };
    struct Row {
        Change what;
        std::size_t at = 0;
        AccessEntry entry = {};
        std::string owner = {};
        bool runs = false;
    };
    const Row rows[] = {
        {.what = Owner, .owner = kUser},
        {.what = Owner, .at = 3, .owner = kUser},
        {.what = Owner, .at = 1, .owner = kCreatorOwner},
        {.what = Owner, .at = 2, .owner = ""},
        {.what = Entry, .entry = {.flags = 0x08, .mask = ~0u, .sid = kUser}, .runs = true},
        {.what = Entry, .entry = {.flags = 0x10, .mask = ~0u, .sid = kUser}},
        {.what = Entry, .entry = {.allows = false, .mask = ~0u, .sid = kUser}, .runs = true},
        {.what = NullList, .at = 1},
        {.what = EmptyList, .runs = true},
        {.what = Unreadable, .at = 3},
        {.what = ReparsePoint},
        {.what = ReparsePoint, .at = 2},
        {.what = RemoteDrive},
    };
    for (const Row& row : rows) {
        PathFacts facts = Installed();
        PathComponentFacts& component = facts.components[row.at];
        switch (row.what) {
            case Entry: component.security->dacl->push_back(row.entry); break;
            case Owner: component.security->owner = row.owner; break;
            case NullList: component.security->dacl.reset(); break;
            case EmptyList: component.security->dacl.emplace(); break;
            case Unreadable: component.security.reset(); break;
            case ReparsePoint: component.reparsePoint = true; break;
            case RemoteDrive: facts.fixedDrive = false; break;
        }
        EXPECT_EQ(OnlyAdministratorsCanChange(kPath, facts), row.runs) << row.what << row.at;
    }
    PathFacts denied = Installed();
    auto& dacl = *denied.components[0].security->dacl;
    dacl.insert(dacl.begin(), {.allows = false, .mask = ~0u, .sid = kUser});
    dacl.push_back({.mask = kWriteData, .sid = kUser});
    EXPECT_FALSE(OnlyAdministratorsCanChange(kPath, denied));
}

TEST(FileTrust, OnlyPlainLocalAbsolutePathsHaveAChain) {
    using Chain = std::vector<std::string>;
    EXPECT_EQ(TrustChain(kPath), Chain({kPath, "C:\\Programs\\Office", "C:\\Programs", "C:\\"}));
    EXPECT_EQ(TrustChain("d:/x.dll"), Chain({"d:/x.dll", "d:/"}));
    for (const char* path :
         {"x.dll", "C:x.dll", "C:\\", "\\x.dll", "\\\\server\\share\\x.dll", "\\\\?\\C:\\x.dll",
          "C:\\a\\..\\x.dll", "C:\\a\\.\\x.dll", "C:\\a\\\\x.dll", "C:\\a\\", "C:\\x.dll:s"}) {
        EXPECT_EQ(TrustChain(path), Chain()) << path;
    }
    PathFacts shorter = Installed();
    shorter.components.pop_back();  // the facts of another path
    EXPECT_FALSE(OnlyAdministratorsCanChange(kPath, shorter));
}
