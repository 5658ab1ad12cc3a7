// Who may have changed a file decides whether it may run: owners, access lists and the path.
#include <gtest/gtest.h>

#include "platform/FileTrust.h"

using namespace platform;

namespace {

const char kPath[] = "C:\\Programs\\Office\\x.dll";  // file, folder, folder above, root
const std::string kSystem = "S-1-5-18", kAdmins = "S-1-5-32-544", kCreatorOwner = "S-1-3-0",
                  kTrustedInstaller =
                      "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
                  kUser = "S-1-5-21-1004336348-1177238915-682003330-1001", kEveryone = "S-1-1-0",
                  kAuthenticated = "S-1-5-11";

// As Windows sets up its program folders: full control for the system and its administrators,
// read for users, inherit-only grants for what is made below; at the root users may add folders.
PathFacts Installed() {
    const std::vector<AccessEntry> dacl = {
        {.mask = 0x1F01FF, .sid = kTrustedInstaller},
        {.mask = 0x1F01FF, .sid = kSystem},
        {.mask = 0x1F01FF, .sid = kAdmins},
        {.mask = 0x1200A9, .sid = "S-1-5-32-545"},
        {.flags = 0x0B, .mask = kGenericAll, .sid = kCreatorOwner},
        {.flags = 0x0B, .mask = 0x1301BF, .sid = kAuthenticated},
    };
    PathFacts facts{.fixedDrive = true, .components = {}};
    for (const std::string& owner : {kAdmins, kAdmins, kSystem, kTrustedInstaller}) {
        facts.components.push_back({.security = SecurityFacts{.owner = owner, .dacl = dacl}});
    }
    facts.components[3].security->dacl->push_back({.mask = kAppendData, .sid = kAuthenticated});
    return facts;
}

}  // namespace

TEST(FileTrust, EachRightGrantedToEachKindOfSidOnTheFileItsFolderAndAFolderAbove) {
    struct Right {
        std::uint32_t mask;
        bool file, folder, above;  // when someone else has it there
    };
    const Right rights[] = {
        {.mask = kWriteData, .file = false, .folder = false, .above = true},
        {.mask = kAppendData, .file = false, .folder = false, .above = true},
        {.mask = kWriteExtendedAttributes, .file = false, .folder = false, .above = true},
        {.mask = kWriteAttributes, .file = false, .folder = false, .above = true},
        {.mask = kDeleteChild, .file = true, .folder = false, .above = false},
        {.mask = kDelete, .file = false, .folder = false, .above = false},
        {.mask = kWriteDac, .file = false, .folder = false, .above = false},
        {.mask = kWriteOwner, .file = false, .folder = false, .above = false},
        {.mask = kGenericWrite, .file = false, .folder = false, .above = true},
        {.mask = kGenericAll, .file = false, .folder = false, .above = false},
        {.mask = 0x1200A9, .file = true, .folder = true, .above = true},
        {.mask = 0xA0000000, .file = true, .folder = true, .above = true},
    };
    struct Sid {
        std::string sid;
        bool trusted;
    };
    const Sid sids[] = {
        {.sid = kSystem, .trusted = true},
        {.sid = kAdmins, .trusted = true},
        {.sid = kTrustedInstaller, .trusted = true},
        {.sid = kCreatorOwner, .trusted = true},
        {.sid = kUser, .trusted = false},
        {.sid = "S-1-5-21-1004336348-1177238915-682003330-513", .trusted = false},  // Domain Users
        {.sid = "S-1-5-32-545", .trusted = false},                                  // Users
        {.sid = "S-1-5-32-547", .trusted = false},                                  // Power Users
        {.sid = kAuthenticated, .trusted = false},
        {.sid = "S-1-5-4", .trusted = false},  // INTERACTIVE
        {.sid = kEveryone, .trusted = false},
        {.sid = "", .trusted = false},  // an entry not taken apart
    };
    EXPECT_TRUE(OnlyAdministratorsCanChange(kPath, Installed()));
    for (const Right& right : rights) {
        for (const Sid& sid : sids) {
            for (std::size_t level : {0, 1, 2, 3}) {
                PathFacts facts = Installed();
                facts.components[level].security->dacl->push_back(
                    {.mask = right.mask, .sid = sid.sid});
                const bool trusted = level == 0   ? right.file
                                     : level == 1 ? right.folder
                                                  : right.above;
                EXPECT_EQ(OnlyAdministratorsCanChange(kPath, facts), trusted || sid.trusted)
                    << std::hex << right.mask << " for " << sid.sid << " at " << level;
            }
        }
    }
}

// Inherit-only entries are handed down and grant nothing here; an inherited one (0x10) counts.
// Deny entries never make a path safe, wherever they stand.
TEST(FileTrust, InheritOnlyAndDenyEntries) {
    struct Row {
        std::size_t at;
        AccessEntry entry;
        bool trusted;
    };
    const Row rows[] = {
        {.at = 0, .entry = {.flags = 0x08, .mask = kGenericAll, .sid = kEveryone}, .trusted = true},
        {.at = 1, .entry = {.flags = 0x0B, .mask = kWriteDac, .sid = kUser}, .trusted = true},
        {.at = 1, .entry = {.flags = 0x03, .mask = kWriteData, .sid = kUser}, .trusted = false},
        {.at = 0, .entry = {.flags = 0x10, .mask = kWriteData, .sid = kUser}, .trusted = false},
        {.at = 0, .entry = {.allows = false, .mask = ~0u, .sid = kEveryone}, .trusted = true},
    };
    for (const Row& row : rows) {
        PathFacts facts = Installed();
        facts.components[row.at].security->dacl->push_back(row.entry);
        EXPECT_EQ(OnlyAdministratorsCanChange(kPath, facts), row.trusted)
            << row.at << row.entry.sid;
    }
    PathFacts denied = Installed();
    auto& dacl = *denied.components[0].security->dacl;
    dacl.insert(dacl.begin(), {.allows = false, .mask = ~0u, .sid = kUser});
    dacl.push_back({.mask = kWriteData, .sid = kUser});
    EXPECT_FALSE(OnlyAdministratorsCanChange(kPath, denied));
}

TEST(FileTrust, OwnersListsReparsePointsAndDrives) {
    enum Change { Owner, NullList, EmptyList, Unreadable, ReparsePoint, RemoteDrive };
    struct Row {
        Change change;
        std::size_t at = 0;
        std::string owner = {};
        bool trusted;
    };
    const Row rows[] = {
        {.change = Owner, .at = 0, .owner = kUser, .trusted = false},
        {.change = Owner, .at = 1, .owner = kUser, .trusted = false},
        {.change = Owner, .at = 3, .owner = kUser, .trusted = false},
        {.change = Owner, .at = 1, .owner = kCreatorOwner, .trusted = false},
        {.change = Owner, .at = 2, .owner = "", .trusted = false},
        {.change = Owner, .at = 0, .owner = kTrustedInstaller, .trusted = true},
        {.change = NullList, .at = 0, .trusted = false},
        {.change = NullList, .at = 1, .trusted = false},
        {.change = NullList, .at = 3, .trusted = false},
        {.change = EmptyList, .at = 0, .trusted = true},
        {.change = EmptyList, .at = 2, .trusted = true},
        {.change = Unreadable, .at = 0, .trusted = false},
        {.change = Unreadable, .at = 3, .trusted = false},
        {.change = ReparsePoint, .at = 0, .trusted = false},
        {.change = ReparsePoint, .at = 2, .trusted = false},
        {.change = ReparsePoint, .at = 3, .trusted = false},
        {.change = RemoteDrive, .trusted = false},
    };
    for (const Row& row : rows) {
        PathFacts facts = Installed();
        PathComponentFacts& component = facts.components[row.at];
        switch (row.change) {
            case Owner: component.security->owner = row.owner; break;
            case NullList: component.security->dacl.reset(); break;
            case EmptyList: component.security->dacl.emplace(); break;
            case Unreadable: component.security.reset(); break;
            case ReparsePoint: component.reparsePoint = true; break;
            case RemoteDrive: facts.fixedDrive = false; break;
        }
        EXPECT_EQ(OnlyAdministratorsCanChange(kPath, facts), row.trusted)
            << row.change << " at " << row.at;
    }
}

TEST(FileTrust, OnlyPlainLocalAbsolutePathsHaveAChain) {
    using Chain = std::vector<std::string>;
    EXPECT_EQ(TrustChain(kPath), Chain({kPath, "C:\\Programs\\Office", "C:\\Programs", "C:\\"}));
    EXPECT_EQ(TrustChain("d:/x.dll"), Chain({"d:/x.dll", "d:/"}));
    for (const char* path : {"x.dll", "Office\\x.dll", "C:x.dll", "C:\\", "\\x.dll",
                             "\\\\server\\share\\x.dll", "\\\\?\\C:\\x.dll", "C:\\a\\..\\x.dll",
                             "C:\\a\\.\\x.dll", "C:\\a\\\\x.dll", "C:\\a\\", "C:\\x.dll:s"}) {
        EXPECT_EQ(TrustChain(path), Chain()) << path;
        EXPECT_FALSE(OnlyAdministratorsCanChange(path, Installed())) << path;
    }
    PathFacts shorter = Installed();
    shorter.components.pop_back();  // facts of another path
    EXPECT_FALSE(OnlyAdministratorsCanChange(kPath, shorter));
}
