#include "app/ItemChecks.h"

#include "TestUrls.h"
#include "probes/software/EarlierInstallation.h"

namespace {

// The field shows what the protocol logs; a failure carries the item's conflict message.
ItemResult Judged(Item item, const std::string& text, bool pass) {
    return {text, text, VerdictOf(pass), pass ? std::string() : Row(item).conflictMessage};
}

// Shown and logged, with no verdict.
ItemResult Unjudged(const std::string& text) { return {text, text, Verdict::None, {}}; }

}  // namespace

ItemChecks::ItemChecks(Pc& pc, const RunSettings& settings)
    : m_pc(pc), m_settings(settings), m_hardware(pc) {}

ItemResult ItemChecks::Check(Item item) {
    switch (item) {
        case Item::Ram: return Ram();
        case Item::Cpu: return Cpu();
        case Item::Disk: return Disk();
        case Item::Os: return Os();
        case Item::Ie: return Ie();
        case Item::ActiveX: return ActiveX();
        case Item::EarlierInstall: return EarlierInstall();
        case Item::Http: return Http();
        case Item::Https: return Https();
        case Item::Admin: return Admin();
        case Item::Domain: return Domain();
        case Item::Services: return Services();
        case Item::Outlook: return Outlook();
        case Item::Exchange: return Exchange();
        case Item::Lotus: return Lotus();
    }
    return {};
}

ItemResult ItemChecks::Ram() { return Unjudged(m_hardware.GetMemoryText()); }

ItemResult ItemChecks::Cpu() { return Unjudged(m_hardware.GetProcessorText()); }

ItemResult ItemChecks::Disk() {
    constexpr std::int32_t kRequiredBytes = 100000000;  // "cca 100 MB"
    const std::string text = m_hardware.GetDiskText();
    return Judged(Item::Disk, text, m_hardware.HasEnoughDiskSpace(kRequiredBytes));
}

// Always passes.
ItemResult ItemChecks::Os() { return Judged(Item::Os, DescribeOperatingSystem(m_pc), true); }

ItemResult ItemChecks::Ie() {
    constexpr Version kMinimum = {5, 50, 4522};  // shlwapi.dll of Internet Explorer 5.5 SP1
    const std::string text = DescribeIeVersion(m_pc);
    return Judged(Item::Ie, text, IsIeVersionAtLeast(m_pc, kMinimum));
}

ItemResult ItemChecks::ActiveX() {
    std::string findings;
    const bool allowed = CheckActiveXZonePolicy(m_pc, kServiceLogonUrl, findings);
    // The protocol and the conflict list name the findings after the message.
    const std::string itemText =
        allowed ? std::string("OK") : Row(Item::ActiveX).conflictMessage + (" (" + findings + ")");
    return {findings, itemText, VerdictOf(allowed), allowed ? std::string() : itemText};
}

ItemResult ItemChecks::EarlierInstall() {
    std::string findings;
    const bool noTrace = CheckEarlierInstallation(m_pc, findings);
    return Judged(Item::EarlierInstall, findings, noTrace);
}

void ItemChecks::StartNetwork() {
    if (!m_pendingUrls)
        m_pendingUrls.emplace(m_pc, std::vector<std::string>{kPublicTestUrl, kServiceLogonUrl});
}

const std::vector<UrlTestResult>& ItemChecks::UrlResults() {
    if (!m_urlResults) {
        StartNetwork();
        m_urlResults = m_pendingUrls->Results();
    }
    return *m_urlResults;
}

ItemResult ItemChecks::Http() {
    const UrlTestResult& result = UrlResults()[0];
    return Judged(Item::Http, result.message, result.reached);
}

ItemResult ItemChecks::Https() {
    const UrlTestResult& result = UrlResults()[1];
    return Judged(Item::Https, result.message, result.reached);
}

bool ItemChecks::Elevated() {
    if (!m_bElevated) m_bElevated = IsUserInAdministrators(m_pc);
    return *m_bElevated;
}

OutlookProbe& ItemChecks::OutlookClient() {
    if (!m_outlook) m_outlook.emplace(m_pc, Elevated());
    return *m_outlook;
}

ItemResult ItemChecks::Admin() {
    const bool admin = Elevated();
    return {std::string(), admin ? "OK" : "Error", VerdictOf(admin),
            admin ? std::string() : Row(Item::Admin).conflictMessage};
}

ItemResult ItemChecks::Domain() {
    // Kept exactly as users and support know it, though it is not Slovak: do not correct it.
    constexpr char kNoDomain[] = "Doména nenalezena";
    const std::string domain = m_pc.GetPrimaryDomainName();
    ItemResult result = Judged(Item::Domain, domain, !domain.empty());
    if (domain.empty()) result.field = kNoDomain;  // the protocol logs the name as returned
    return result;
}

ItemResult ItemChecks::Services() {
    constexpr char kConflictingServices[] =
        "MS Exchange:MSExchangeSA,MSExchangeIS,MSExchangeDS,MSExchangeMTA,MSExchangeMSMI,"
        "MSExchangeDX,MSExchangeIMC,MSExchangeFB,MSExchangeES,MSPOP3Connector;"
        "ISA Server:w3proxy;Lotus Domino Server:Lotus Domino Server*";
    const std::string found = FindConflictingServices(kConflictingServices, m_pc);
    return Judged(Item::Services, found, found.empty());
}

ItemResult ItemChecks::Outlook() {
    constexpr Version kMinimum = {9, 0, 4527};   // MS Outlook 2000 SP2
    constexpr char kBlacklist[] = "10.0.2627;";  // MS Outlook 2002 (XP) SP1
    const std::string text = OutlookClient().GetOutlookVersionText();
    return Judged(Item::Outlook, text, OutlookClient().CheckOutlookVersion(kMinimum, kBlacklist));
}

ItemResult ItemChecks::Exchange() {
    std::string logon;
    const bool loggedOn = OutlookClient().TestMapiLogon(logon, !m_settings.silent);
    ItemResult result = Judged(Item::Exchange, logon, loggedOn);
    result.protocolValue.clear();  // shown and judged, never written to the protocol
    return result;
}

ItemResult ItemChecks::Lotus() {
    constexpr Version kMinimum = {5, 0, 6};
    // The versions the Lotus Notes conflict message forbids: 5.0.11, 6.0 and 6.0.1.
    constexpr char kBlacklist[] = "5.0.11;6.0.0;6.0.1;";
    const NotesProbe notes(m_pc);
    const std::string text = notes.GetNotesVersionText();
    return Judged(Item::Lotus, text, notes.CheckNotesVersion(kMinimum, kBlacklist));
}
