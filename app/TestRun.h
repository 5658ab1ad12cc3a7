// One test run: every item in run order, each judged by its probe, its result handed on as soon
// as it is known, and at the end the protocol text and the numbered conflicts. Portable: it runs
// on whichever thread its caller chooses and never touches a window.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/CalendarTime.h"
#include "app/ItemResult.h"
#include "app/Items.h"
#include "probes/Pc.h"

struct RunSettings {
    std::string caption;  // the dialog's caption, which starts the protocol's header
    // Local time at the start of the run; empty when it could not be determined.
    std::optional<CalendarTime> localTime;
    InstallType installType = kDefaultInstallType;
    // True when nobody sits at the PC: nothing may wait for a person, MAPI shows no window.
    bool silent = false;
};

// Told of every item as soon as it is judged, and asked between items whether the run is
// still wanted. Items come in run order, but for those that wait for the network: they are
// announced as waiting in their turn and judged after the rest.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void OnWaiting(Item item) = 0;
    virtual void OnItem(Item item, const ItemResult& result) = 0;
    virtual bool IsCancelled() const = 0;
};

struct RunReport {
    std::string protocol;                // the whole protocol text, header included
    std::vector<std::string> conflicts;  // the failed items' messages, in run order
    // Indexed by item; empty for items of the other installation type.
    std::array<std::optional<ItemResult>, kItemCount> items;
};

// What the field of an item that waits for the network shows, `seconds` after it began.
std::string WaitingText(unsigned seconds);

// Runs every item of `settings.installType`. Empty when the observer cancelled the run.
std::optional<RunReport> RunTest(Pc& pc, const RunSettings& settings, RunObserver& observer);
