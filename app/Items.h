// The items of a test run, one row each: where the dialog shows them, what the protocol and the
// CSV call them and what a failure tells the user. The test run, the dialog, the CSV and the
// test driver all read this table. Adding an item: the README's "Adding an item" lists every
// file, in order.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

// In run order.
enum class Item {
    Ram,
    Cpu,
    Disk,
    Os,
    Ie,
    ActiveX,
    EarlierInstall,
    Http,
    Https,
    Admin,
    Domain,
    Services,
    Outlook,
    Exchange,
    Lotus,
};

inline constexpr std::size_t kItemCount = static_cast<std::size_t>(Item::Lotus) + 1;

// What the Tarnvik client is installed against: MS Exchange through MS Outlook, or Lotus
// Domino through Lotus Notes. The mail client's items run only for their type.
enum class InstallType { Exchange, Lotus };

// Chosen when the dialog opens and for a run whose command line names no type.
inline constexpr InstallType kDefaultInstallType = InstallType::Exchange;

// What an item's check decided: a tick, a cross, or nothing at all for an item that is only
// described (its field shows a text, no image is set).
enum class Verdict { None, Pass, Fail };

inline Verdict VerdictOf(bool pass) { return pass ? Verdict::Pass : Verdict::Fail; }

struct ItemRow {
    Item item;
    const char* key = nullptr;  // the item's name in the CSV header and the test driver's output
    int field = 0;              // read-only edit; 0 when the item has none
    int image = 0;              // status image; 0 for an item that is never judged
    int label = 0;              // label that turns into a link on failure; 0 when never judged
    // The text beside the item in the dialog (the report names the item so).
    const char* dialogLabel = nullptr;
    // Starts the item's protocol line; null for the item that has no line.
    const char* protocolLabel = nullptr;
    // Shown and listed when the item fails; null for an item that never fails.
    const char* conflictMessage = nullptr;
    // The installation type the item belongs to; empty for items of every type.
    std::optional<InstallType> onlyFor = std::nullopt;
};

extern const std::array<ItemRow, kItemCount> kItems;

inline const ItemRow& Row(Item item) { return kItems[static_cast<std::size_t>(item)]; }

// Whether the item runs, and its row shows, for installation type `type`.
inline bool BelongsTo(const ItemRow& row, InstallType type) {
    return !row.onlyFor || *row.onlyFor == type;
}
