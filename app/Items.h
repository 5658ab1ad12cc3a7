// The items of a test run, one row each: where the dialog shows them, what the protocol calls
// them and what a failure tells the user. The test run, the dialog and the test driver all
// read this table, so an item is added here, in its probe call and in the dialog template.
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

struct ItemRow {
    Item item;
    const char* key;  // the item's name in the test driver's output
    int field;        // read-only edit; 0 when the item has none
    int image;        // status image; 0 for an item that is never judged
    int label;        // label that turns into a link on failure; 0 for an item never judged
    // Starts the item's protocol line; null for the item that has no line.
    const char* protocolLabel;
    // Shown and listed when the item fails; null for an item never judged.
    const char* conflictMessage;
    // The installation type the item belongs to; empty for items of every type.
    std::optional<InstallType> onlyFor;
    const char* dialogLabel;  // the text beside the item in the dialog, as the report names it
};

extern const std::array<ItemRow, kItemCount> kItems;

inline const ItemRow& Row(Item item) { return kItems[static_cast<std::size_t>(item)]; }

// Whether the item runs, and its row shows, for installation type `type`.
inline bool BelongsTo(const ItemRow& row, InstallType type) {
    return !row.onlyFor || *row.onlyFor == type;
}
