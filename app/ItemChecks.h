// Judges the items of one run, one call per item, each beside the threshold it applies.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/TestRun.h"
#include "probes/Pc.h"

class ItemChecks {
public:
    // `pc` must outlive the object.
    ItemChecks(Pc& pc, const RunSettings& settings);
    ItemChecks(const ItemChecks&) = delete;
    ItemChecks& operator=(const ItemChecks&) = delete;

    // Any item, in any order: what one check needs of another is read once, by whichever asks
    // first (Elevated, OutlookClient, UrlResults).
    ItemResult Check(Item item);
    // Sends the HTTP and the HTTPS request side by side and returns at once; checking either
    // item then waits for both (and starts them, when nothing did yet).
    void StartNetwork();

private:
    ItemResult Ram();
    ItemResult Cpu();
    ItemResult Disk();
    ItemResult Os();
    ItemResult Ie();
    ItemResult ActiveX();
    ItemResult EarlierInstall();
    ItemResult Http();
    ItemResult Https();
    ItemResult Admin();
    ItemResult Domain();
    ItemResult Services();
    ItemResult Outlook();
    ItemResult Exchange();
    ItemResult Lotus();

    // Whether the process runs with administrator rights: the Administrators item's verdict,
    // and what the MS Outlook probe needs to trust only what administrators registered.
    bool Elevated();
    // The probe that read MS Outlook's registration and version; the log-on goes through it.
    OutlookProbe& OutlookClient();
    const std::vector<UrlTestResult>& UrlResults();

    Pc& m_pc;
    const RunSettings& m_settings;
    CHardwareInfo m_hardware;
    std::optional<bool> m_bElevated;
    std::optional<OutlookProbe> m_outlook;

    // Both addresses are requested at once; their results are taken once.
    std::optional<PendingUrlTests> m_pendingUrls;
    std::optional<std::vector<UrlTestResult>> m_urlResults;
};
