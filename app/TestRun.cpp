#include "app/TestRun.h"

#include "app/Protocol.h"
#include "app/TestRunConstants.h"
#include "res/resource.h"

namespace {

// Conflict messages, one per judged item.
const char kDiskMessage[] =
    "Pevný disk nemá dostatok voľného miesta. Pre inštaláciu je potrebných cca 100 MB.";
const char kIeMessage[] =
    "Aktualizujte MS Internet Explorer. Minimálna požadovaná verzia je MS IE 5.5 SP1.";
const char kActiveXMessage[] =
    "V nastavení bezpečnosti aplikácie Internet Explorer je potrebné povoliť spúšťanie a "
    "sťahovanie ActiveX prvkov.";
const char kEarlierInstallMessage[] =
    "Na tomto počítači už je alebo niekedy bol inštalovaný Tarnvik. Overte jeho nainštalovanie. "
    "Pokiaľ máte Tarnvik nainštalovaný odinštalujte ho. Ak ho nemáte nainštalovaný zmažte údaje "
    "v registroch [HKLM\\Software\\Devadozededa] a [HKCU\\Software\\Devadozededa].";
const char kHttpMessage[] = "Tento počítač nemá prístup k sieti Internet.";
const char kHttpsMessage[] =
    "Tento počtíač nemá prístup k synchronizačnému serveru služby alebo nemáte aktualizovaný OS.";
const char kAdminMessage[] =
    "Prihlásený užívateľ nie je členom skupiny Administrators. Kontakujte správcu počítačovej "
    "siete.";
const char kDomainMessage[] =
    "Tento počítač nie je členom domény. Kontaktujte správcu počítačovej siete.";
const char kServicesMessage[] =
    "Počítač s touto konfiguráciou nie je odporúčané používať k prevádzkovaniu Tarnvika.";
const char kOutlookMessage[] =
    "Aktualizujte alebo nainštalujte poštovného klienta MS Outlook vo verzii 200 SP2 alebo "
    "novší. K inštalácii nepoužívajte verziu XP SP1!";
const char kExchangeMessage[] = "Spojenie so serverom MS Exchange nebolo úspešné.";
const char kNotesMessage[] =
    "Aktualizujte alebo nainštalujte poštovného klienta Lotus Notes vo verzii 5 alebo novší. "
    "K inštalácii nepoužívajte verzie 5.0.11, 6.0 a 6.0.1.";

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

void TestRun::Run(TestRunProbes& probes) {
    m_view.BeginWaitCursor();
    m_strConflicts.clear();
    m_nConflicts = 0;
    m_strProtocol = protocol::Header(m_view.GetCaption(), m_view.GetLocalTime());

    RunHardwareItems(probes);
    RunSoftwareItems(probes);
    RunNetworkItems(probes);
    RunAccountAndServiceItems(probes);
    // The radios are read as the run reaches them; the auto radio pair selects exactly one.
    if (m_view.IsRadioChecked(IDC_TYPE_EXCHANGE)) RunExchangeItems(probes);
    if (m_view.IsRadioChecked(IDC_TYPE_LOTUS)) RunLotusItems(probes);

    const std::string path = m_view.GetProtocolPath();
    if (!WriteProtocol(path)) return;

    ShowField(IDC_PROTOCOL_NOTE, kProtocolNote + path);
    m_view.Refresh();
    m_view.EndWaitCursor();
    m_view.SetProtocolNoteMessage(m_strProtocol);
    m_view.Redraw();
    ShowSummary();
}

void TestRun::RunHardwareItems(TestRunProbes& probes) {
    const std::string memory = probes.GetMemoryText();
    ShowField(IDC_RAM, memory);
    AppendLine("Kapacita RAM: ", memory);

    const std::string processor = probes.GetProcessorText();
    ShowField(IDC_CPU, processor);
    AppendLine("Procesor: ", processor);

    const std::string disk = probes.GetDiskText();
    ShowField(IDC_DISK, disk);
    AppendLine("Disk C:\\: ", disk);
    SetStatus(IDC_DISK_STATUS, probes.HasEnoughDiskSpace(run::kRequiredDiskBytes), IDC_DISK_LABEL,
              kDiskMessage);
    m_view.Refresh();
}

void TestRun::RunSoftwareItems(TestRunProbes& probes) {
    const std::string os = probes.DescribeOperatingSystem();
    ShowField(IDC_OS, os);
    AppendLine("Verzia OS: ", os);
    SetStatus(IDC_OS_STATUS, true, IDC_OS_LABEL, std::string());  // described, never judged

    const std::string ie = probes.DescribeIeVersion();
    ShowField(IDC_IE, ie);
    AppendLine("Verzia Internet Explorera: ", ie);
    SetStatus(IDC_IE_STATUS, probes.IsIeVersionAtLeast(run::kIeMajor, run::kIeMinor, run::kIeBuild),
              IDC_IE_LABEL, kIeMessage);

    std::string findings;
    const bool activeXAllowed = probes.CheckActiveXZonePolicy(config::kServiceLogonUrl, findings);
    ShowField(IDC_ACTIVEX, findings);
    const std::string activeXItem =
        activeXAllowed ? std::string("OK") : kActiveXMessage + (" (" + findings + ")");
    AppendLine("Stav ActiveX v IE: ", activeXItem);
    SetStatus(IDC_ACTIVEX_STATUS, activeXAllowed, IDC_ACTIVEX_LABEL, activeXItem);

    std::string installation;
    const bool noTrace = probes.CheckEarlierInstallation(installation);
    ShowField(IDC_EARLIER_INSTALL, installation);
    AppendLine("Inštalácia Tarnvika: ", installation);
    SetStatus(IDC_EARLIER_INSTALL_STATUS, noTrace, IDC_EARLIER_INSTALL_LABEL, kEarlierInstallMessage);
    m_view.Refresh();
}

void TestRun::RunNetworkItems(TestRunProbes& probes) {
    // One result text serves both requests; each call overwrites it.
    std::string result;
    const bool httpOk = probes.TestUrl(config::kPublicTestUrl, result);
    AppendLine("HTTP: ", result);
    SetStatus(IDC_HTTP_STATUS, httpOk, IDC_HTTP_LABEL, kHttpMessage);
    ShowField(IDC_HTTP, result);
    m_view.Refresh();
    m_view.Redraw();

    const bool httpsOk = probes.TestUrl(config::kServiceLogonUrl, result);
    AppendLine("HTTPS: ", result);
    SetStatus(IDC_HTTPS_STATUS, httpsOk, IDC_HTTPS_LABEL, kHttpsMessage);
    ShowField(IDC_HTTPS, result);
    m_view.Refresh();
    m_view.Redraw();
}

void TestRun::RunAccountAndServiceItems(TestRunProbes& probes) {
    const bool admin = probes.IsUserInAdministrators();
    AppendLine("Logged user is Administrator: ", admin ? "OK" : "Error");
    SetStatus(IDC_ADMIN_STATUS, admin, IDC_ADMIN_LABEL, kAdminMessage);

    const std::string domain = probes.GetPrimaryDomainName();
    AppendLine("Meno NT domény: ", domain);  // logged as returned, before the substitution
    SetStatus(IDC_DOMAIN_STATUS, !domain.empty(), IDC_DOMAIN_LABEL, kDomainMessage);
    ShowField(IDC_DOMAIN, domain.empty() ? std::string(kNoDomain) : domain);

    const std::string services = probes.FindConflictingServices(run::kConflictingServices);
    AppendLine("Konfliktné služby: ", services);
    ShowField(IDC_SERVICES, services);
    SetStatus(IDC_SERVICES_STATUS, services.empty(), IDC_SERVICES_LABEL, kServicesMessage);
    m_view.Refresh();
}

void TestRun::RunExchangeItems(TestRunProbes& probes) {
    const std::string outlook = probes.GetOutlookVersionText();
    ShowField(IDC_OUTLOOK, outlook);
    AppendLine("Verzia MS Outloook (OUTLLIB.DLL): ", outlook);
    SetStatus(IDC_OUTLOOK_STATUS,
              probes.CheckOutlookVersion(run::kOutlookMajor, run::kOutlookMinor,
                                         run::kOutlookBuild, run::kOutlookBlacklist),
              IDC_OUTLOOK_LABEL, kOutlookMessage);
    m_view.Refresh();

    // The log-on result is shown and judged but has no protocol line.
    std::string logon;
    const bool loggedOn = probes.TestMapiLogon(logon);
    ShowField(IDC_EXCHANGE, logon);
    SetStatus(IDC_EXCHANGE_STATUS, loggedOn, IDC_EXCHANGE_LABEL, kExchangeMessage);
    m_view.Refresh();
}

void TestRun::RunLotusItems(TestRunProbes& probes) {
    const std::string notes = probes.GetNotesVersionText();
    ShowField(IDC_LOTUS, notes);
    AppendLine("Verzia Lotus Notes klienta: ", notes);
    SetStatus(IDC_LOTUS_STATUS,
              probes.CheckNotesVersion(run::kNotesMajor, run::kNotesMinor, run::kNotesBuild,
                                       run::kNotesBlacklist),
              IDC_LOTUS_LABEL, kNotesMessage);
    m_view.Refresh();
}

bool TestRun::WriteProtocol(const std::string& path) {
    switch (m_view.WriteProtocolFile(path, m_strProtocol)) {
        case ProtocolWriteResult::Written:
            return true;
        case ProtocolWriteResult::CannotCreate:
            m_view.ShowMessageBox(kCannotCreateProtocol, kErrorCaption, MessageBoxKind::Plain);
            m_view.ExitProcess(-2);
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

void TestRun::SetStatus(int imageId, bool pass, int labelId, const std::string& conflictMessage) {
    m_view.ShowStatusImage(imageId, pass);
    if (pass) {
        m_view.SetLabelMessage(labelId, std::string());
        return;
    }
    m_view.SetLabelMessage(labelId, conflictMessage);
    ++m_nConflicts;
    m_strConflicts += "\r\n" + std::to_string(m_nConflicts) + ")  " + conflictMessage;
}

void TestRun::AppendLine(const char* label, const std::string& value) {
    m_strProtocol += label;
    m_strProtocol += value;
    m_strProtocol += "\r\n";
}
