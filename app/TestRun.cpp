#include "app/TestRun.h"

#include "app/Protocol.h"
#include "app/TestRunConstants.h"
#include "probes/software/EarlierInstallation.h"

namespace {

// Kept exactly as users and support know it, though it is not Slovak: do not correct it.
const char kNoDomain[] = "Doména nenalezena";

const char kErrorCaption[] = "Chyba aplikácie";
const char kCannotCreateProtocol[] =
    "Chyba! Nebolo možné vytvoriť súbor s protokolom o priebehu testu.";
const char kCannotWriteProtocol[] =
    "Chyba! Nebolo možné zapísať súbor s protokolom o priebehu testu:\r\n";
const char kProtocolNote[] = "Protokol s výsledkom testovania je uložený v súbori:\r\n";

const char kSuccessSummary[] =
    "Test bol úspešný.\r\nInštalácia Tarnvika by mala byť bez komplikácií.";
const char kConflictsHeading[] = "Test našiel v konfigurácii počítača nasledujúce konflikty:\r\n";

}  // namespace

void TestRun::Run(Pc& pc) {
    m_view.BeginWaitCursor();
    m_strConflicts.clear();
    m_nConflicts = 0;
    m_strProtocol = protocol::Header(m_view.GetCaption(), m_view.GetLocalTime());

    RunHardwareItems(pc);
    RunSoftwareItems(pc);
    RunNetworkItems(pc);
    RunAccountAndServiceItems(pc);
    // The radios are read as the run reaches them; the auto radio pair selects exactly one.
    if (m_view.IsExchangeChecked()) RunExchangeItems(pc);
    if (m_view.IsLotusChecked()) RunLotusItems(pc);

    const std::string path = m_view.GetProtocolPath();
    if (!WriteProtocol(path)) return;

    m_view.SetProtocolNote(kProtocolNote + path);
    m_view.Refresh();
    m_view.EndWaitCursor();
    m_view.SetProtocolNoteMessage(m_strProtocol);
    m_view.Redraw();
    ShowSummary();
}

void TestRun::RunHardwareItems(Pc& pc) {
    CHardwareInfo hardware(pc);
    const std::string memory = hardware.GetMemoryText();
    ShowField(Item::Ram, memory);
    AppendLine(Item::Ram, memory);

    const std::string processor = hardware.GetProcessorText();
    ShowField(Item::Cpu, processor);
    AppendLine(Item::Cpu, processor);

    const std::string disk = hardware.GetDiskText();
    ShowField(Item::Disk, disk);
    AppendLine(Item::Disk, disk);
    SetStatus(Item::Disk, hardware.HasEnoughDiskSpace(run::kRequiredDiskBytes));
    m_view.Refresh();
}

void TestRun::RunSoftwareItems(Pc& pc) {
    const std::string os = DescribeOperatingSystem(pc);
    ShowField(Item::Os, os);
    AppendLine(Item::Os, os);
    SetStatus(Item::Os, true);  // described, never judged

    const std::string ie = DescribeIeVersion(pc);
    ShowField(Item::Ie, ie);
    AppendLine(Item::Ie, ie);
    SetStatus(Item::Ie, IsIeVersionAtLeast(pc, run::kIeMajor, run::kIeMinor, run::kIeBuild));

    std::string findings;
    const bool activeXAllowed = CheckActiveXZonePolicy(pc, config::kServiceLogonUrl, findings);
    ShowField(Item::ActiveX, findings);
    const std::string activeXItem =
        activeXAllowed ? std::string("OK")
                       : Row(Item::ActiveX).conflictMessage + (" (" + findings + ")");
    AppendLine(Item::ActiveX, activeXItem);
    SetStatus(Item::ActiveX, activeXAllowed, activeXItem);

    std::string installation;
    const bool noTrace = CheckEarlierInstallation(pc, installation);
    ShowField(Item::EarlierInstall, installation);
    AppendLine(Item::EarlierInstall, installation);
    SetStatus(Item::EarlierInstall, noTrace);
    m_view.Refresh();
}

void TestRun::RunNetworkItems(Pc& pc) {
    HttpProbe http(pc);
    // One result text serves both requests; each call overwrites it.
    std::string result;
    for (const auto& [item, url] : {std::pair{Item::Http, config::kPublicTestUrl},
                                    std::pair{Item::Https, config::kServiceLogonUrl}}) {
        const bool reached = http.TestUrl(url, result);
        AppendLine(item, result);
        SetStatus(item, reached);
        ShowField(item, result);
        m_view.Refresh();
        m_view.Redraw();
    }
}

void TestRun::RunAccountAndServiceItems(Pc& pc) {
    const bool admin = IsUserInAdministrators(pc);
    AppendLine(Item::Admin, admin ? "OK" : "Error");
    SetStatus(Item::Admin, admin);

    const std::string domain = pc.GetPrimaryDomainName();
    AppendLine(Item::Domain, domain);  // logged as returned, before the substitution
    SetStatus(Item::Domain, !domain.empty());
    ShowField(Item::Domain, domain.empty() ? std::string(kNoDomain) : domain);

    const std::string services = FindConflictingServices(run::kConflictingServices, pc);
    AppendLine(Item::Services, services);
    ShowField(Item::Services, services);
    SetStatus(Item::Services, services.empty());
    m_view.Refresh();
}

void TestRun::RunExchangeItems(Pc& pc) {
    OutlookProbe outlook(pc, IsUserInAdministrators(pc));
    const std::string version = outlook.GetOutlookVersionText();
    ShowField(Item::Outlook, version);
    AppendLine(Item::Outlook, version);
    SetStatus(Item::Outlook,
              outlook.CheckOutlookVersion(run::kOutlookMajor, run::kOutlookMinor,
                                          run::kOutlookBuild, run::kOutlookBlacklist));
    m_view.Refresh();

    std::string logon;
    const bool loggedOn = outlook.TestMapiLogon(logon);
    ShowField(Item::Exchange, logon);
    SetStatus(Item::Exchange, loggedOn);
    m_view.Refresh();
}

void TestRun::RunLotusItems(Pc& pc) {
    const NotesProbe notes(pc);
    const std::string version = notes.GetNotesVersionText();
    ShowField(Item::Lotus, version);
    AppendLine(Item::Lotus, version);
    SetStatus(Item::Lotus, notes.CheckNotesVersion(run::kNotesMajor, run::kNotesMinor,
                                                   run::kNotesBuild, run::kNotesBlacklist));
    m_view.Refresh();
}

bool TestRun::WriteProtocol(const std::string& path) {
    switch (m_view.WriteProtocolFile(m_strProtocol)) {
        case ProtocolWriteResult::Written:
            return true;
        case ProtocolWriteResult::CannotCreate:
            m_view.ShowMessageBox(kCannotCreateProtocol, kErrorCaption, MessageBoxKind::Plain);
            m_view.ExitProcess(kExitProtocolNotCreated);
            return false;
        case ProtocolWriteResult::WriteFailed:
            // The run stops here, but the dialog stays usable and the user learns why.
            m_view.EndWaitCursor();
            m_view.ShowMessageBox(kCannotWriteProtocol + path, kErrorCaption,
                                  MessageBoxKind::Plain);
            return false;
    }
    return false;
}

void TestRun::ShowSummary() {
    if (m_strConflicts.empty()) {
        m_strConflicts = kSuccessSummary;
        m_view.ShowMessageBox(m_strConflicts, "Informácie", MessageBoxKind::Information);
    } else {
        m_strConflicts.insert(0, kConflictsHeading);
        m_view.ShowMessageBox(m_strConflicts, "Upozornenie", MessageBoxKind::Exclamation);
    }
}

void TestRun::SetStatus(Item item, bool pass, const std::string& conflictMessage) {
    m_view.ShowStatusImage(item, pass);
    if (pass) {
        m_view.SetLabelMessage(item, std::string());
        return;
    }
    m_view.SetLabelMessage(item, conflictMessage);
    ++m_nConflicts;
    m_strConflicts += "\r\n" + std::to_string(m_nConflicts) + ")  " + conflictMessage;
}

void TestRun::AppendLine(Item item, const std::string& value) {
    m_strProtocol += Row(item).protocolLabel;
    m_strProtocol += value;
    m_strProtocol += "\r\n";
}
