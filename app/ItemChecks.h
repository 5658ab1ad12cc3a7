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

    // Items are checked in run order; a later one may use what an earlier one found.
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

    Pc& m_pc;
    const RunSettings& m_settings;
    CHardwareInfo m_hardware;
    // Whether the process runs with administrator rights: the MS Outlook probe then trusts
    // only what administrators registered.
    bool m_admin = false;
    std::optional<OutlookProbe> m_outlook;
    const std::vector<UrlTestResult>& UrlResults();

    // Both addresses are requested at once; their results are taken once.
    std::optional<PendingUrlTests> m_pendingUrls;
    std::optional<std::vector<UrlTestResult>> m_urlResults;
};
