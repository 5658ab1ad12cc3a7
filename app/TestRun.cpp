#include "app/TestRun.h"

#include "app/ItemChecks.h"
#include "app/Protocol.h"

namespace {

// The requests go out together and are waited for last, so that the items that need no
// network show meanwhile.
bool NeedsNetwork(Item item) { return item == Item::Http || item == Item::Https; }

std::size_t Index(Item item) { return static_cast<std::size_t>(item); }

}  // namespace

std::string WaitingText(unsigned seconds) { return "… " + std::to_string(seconds) + " s"; }

std::optional<RunReport> RunTest(Pc& pc, const RunSettings& settings, RunObserver& observer) {
    RunReport report;
    ItemChecks checks(pc, settings);
    const auto check = [&](Item item) {
        ItemResult result = checks.Check(item);
        observer.OnItem(item, result);
        report.items[Index(item)] = std::move(result);
    };
    std::vector<Item> waiting;
    for (const ItemRow& row : kItems) {
        if (!BelongsTo(row, settings.installType)) continue;
        if (observer.IsCancelled()) return std::nullopt;
        if (NeedsNetwork(row.item)) {
            checks.StartNetwork();
            observer.OnWaiting(row.item);
            waiting.push_back(row.item);
        } else {
            check(row.item);
        }
    }
    for (const Item item : waiting) {
        if (observer.IsCancelled()) return std::nullopt;
        check(item);
    }
    if (observer.IsCancelled()) return std::nullopt;
    // The protocol and the numbered conflicts keep run order, whenever each item was judged.
    report.protocol = ProtocolHeader(settings.caption, settings.localTime);
    for (const ItemRow& row : kItems) {
        const std::optional<ItemResult>& result = report.items[Index(row.item)];
        if (!result) continue;
        if (row.protocolLabel != nullptr) {
            report.protocol += row.protocolLabel + result->protocolValue + "\r\n";
        }
        if (result->verdict == Verdict::Fail) report.conflicts.push_back(result->message);
    }
    return report;
}
