#include "app/TestRun.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/Protocol.h"
#include "res/resource.h"

namespace {

// Records what the run does to the dialog, in order, so tests can check sequences.
class RecordingView : public TestRunView {
public:
    std::vector<std::string>& log;
    explicit RecordingView(std::vector<std::string>& sharedLog) : log(sharedLog) {}

    std::map<int, std::string> fields;
    std::map<int, bool> images;
    std::map<int, std::string> labelMessages;
    std::string protocolNoteMessage;
    std::map<int, bool> radios{{IDC_TYPE_EXCHANGE, true}, {IDC_TYPE_LOTUS, false}};
    std::optional<CalendarTime> localTime = CalendarTime{6, 12, 2026, 2, 8, 7};
    ProtocolWriteResult writeResult = ProtocolWriteResult::Written;
    std::string writtenPath, writtenText;
    int exitCode = 0;
    bool exited = false;
    int waitCursorDepth = 0;

    struct Box {
        std::string text, caption;
        MessageBoxKind kind;
    };
    std::vector<Box> boxes;

    std::string GetCaption() const override { return "Tarnvik Analyzér 1.0"; }
    std::optional<CalendarTime> GetLocalTime() const override { return localTime; }
    void BeginWaitCursor() override { ++waitCursorDepth; }
    void EndWaitCursor() override { --waitCursorDepth; }
    void SetFieldText(int id, const std::string& text) override {
        fields[id] = text;
        log.push_back("field " + std::to_string(id));
    }
    void Refresh() override { log.push_back("refresh"); }
    void Redraw() override { log.push_back("redraw"); }
    void ShowStatusImage(int id, bool pass) override { images[id] = pass; }
    void SetLabelMessage(int id, const std::string& message) override { labelMessages[id] = message; }
    void SetProtocolNoteMessage(const std::string& message) override { protocolNoteMessage = message; }
    bool IsRadioChecked(int id) const override { return radios.at(id); }
    std::string GetProtocolPath() const override { return "C:\\Tools\\TarnvikAnalyzer.txt"; }
    ProtocolWriteResult WriteProtocolFile(const std::string& path, const std::string& text) override {
        writtenPath = path;
        writtenText = text;
        log.push_back("write protocol");
        return writeResult;
    }
    void ShowMessageBox(const std::string& text, const std::string& caption,
                        MessageBoxKind kind) override {
        boxes.push_back({text, caption, kind});
    }
    void ExitProcess(int code) override {
        exited = true;
        exitCode = code;
    }
};

// Probes with chosen answers; every call is logged so the run's order can be checked.
class ScriptedProbes : public TestRunProbes {
public:
    std::vector<std::string>& log;
    explicit ScriptedProbes(std::vector<std::string>& sharedLog) : log(sharedLog) {}

    std::string memory = "512 MB", processor = "Intel(R) CPU [2394 MHz]",
                disk = "37.26 GB, z toho voľných 11.64 GB", os = "Microsoft Windows XP",
                ie = "Internet Explorer 6.0.2900", activeX = "OK", installation = "Tarnvik nie je nainštalovaný.",
                http = "OK", https = "OK", domain = "FIRMA", services, outlook = "MS Outlook 11.0.5510",
                mapi = "OK", notes = "Lotus Notes 6.5.4";
    bool diskOk = true, ieOk = true, activeXOk = true, installationOk = true, httpOk = true,
         httpsOk = true, admin = true, outlookOk = true, mapiOk = true, notesOk = true;
    std::vector<std::string> urls;
    std::string notesBlacklist, outlookBlacklist, servicesSpec;

    std::string Call(const std::string& name, const std::string& result) {
        log.push_back("probe " + name);
        return result;
    }
    bool Judge(const std::string& name, bool verdict) {
        log.push_back("probe " + name);
        return verdict;
    }

    std::string GetMemoryText() override { return Call("memory", memory); }
    std::string GetProcessorText() override { return Call("processor", processor); }
    std::string GetDiskText() override { return Call("disk", disk); }
    bool HasEnoughDiskSpace(std::int32_t required) override {
        EXPECT_EQ(required, 100000000);
        return Judge("disk space", diskOk);
    }
    std::string DescribeOperatingSystem() override { return Call("os", os); }
    std::string DescribeIeVersion() override { return Call("ie", ie); }
    bool IsIeVersionAtLeast(std::int32_t major, std::int32_t minor, std::int32_t build) override {
        EXPECT_EQ(major * 1000000 + minor * 10000 + build, 5 * 1000000 + 50 * 10000 + 4522);
        return Judge("ie minimum", ieOk);
    }
    bool CheckActiveXZonePolicy(const std::string& url, std::string& detail) override {
        urls.push_back(url);
        detail += activeX;
        return Judge("activex", activeXOk);
    }
    bool CheckEarlierInstallation(std::string& text) override {
        text = installation;
        return Judge("installation", installationOk);
    }
    bool TestUrl(const std::string& url, std::string& message) override {
        const bool first = urls.size() < 2;
        urls.push_back(url);
        message = first ? http : https;
        return Judge(first ? "http" : "https", first ? httpOk : httpsOk);
    }
    bool IsUserInAdministrators() override { return Judge("admin", admin); }
    std::string GetPrimaryDomainName() override { return Call("domain", domain); }
    std::string FindConflictingServices(const std::string& conflictSpec) override {
        servicesSpec = conflictSpec;
        return Call("services", services);
    }
    std::string GetOutlookVersionText() override { return Call("outlook", outlook); }
    bool CheckOutlookVersion(std::int32_t, std::int32_t, std::int32_t,
                             const std::string& blacklist) override {
        outlookBlacklist = blacklist;
        return Judge("outlook check", outlookOk);
    }
    bool TestMapiLogon(std::string& message) override {
        message = mapi;
        return Judge("mapi", mapiOk);
    }
    std::string GetNotesVersionText() override { return Call("notes", notes); }
    bool CheckNotesVersion(std::int32_t, std::int32_t, std::int32_t,
                           const std::string& blacklist) override {
        notesBlacklist = blacklist;
        return Judge("notes check", notesOk);
    }
};

class TestRunTest : public ::testing::Test {
protected:
    std::vector<std::string> log;
    RecordingView view{log};
    ScriptedProbes probes{log};
    TestRun run{view};

    std::size_t IndexOf(const std::string& event) const {
        for (std::size_t i = 0; i < log.size(); ++i) {
            if (log[i] == event) return i;
        }
        ADD_FAILURE() << "no event " << event;
        return log.size();
    }
};

const char kHeader[] =
    "Tarnvik Analyzér 1.0 ŠTART TESTU - 6.12.2026 02:08:07\r\n"
    "-----------------------------------------------------------------------------\r\n\r\n";

TEST_F(TestRunTest, ProtocolOfAnExchangeRunHoldsEveryLineInOrderAndNoLogonLine) {
    probes.domain = "";
    probes.services = "MS Exchange, ISA Server";
    run.Run(probes);
    EXPECT_EQ(view.writtenText,
              std::string(kHeader) +
                  "Kapacita RAM: 512 MB\r\n"
                  "Procesor: Intel(R) CPU [2394 MHz]\r\n"
                  "Disk C:\\: 37.26 GB, z toho voľných 11.64 GB\r\n"
                  "Verzia OS: Microsoft Windows XP\r\n"
                  "Verzia Internet Explorera: Internet Explorer 6.0.2900\r\n"
                  "Stav ActiveX v IE: OK\r\n"
                  "Inštalácia Tarnvika: Tarnvik nie je nainštalovaný.\r\n"
                  "HTTP: OK\r\n"
                  "HTTPS: OK\r\n"
                  "Logged user is Administrator: OK\r\n"
                  "Meno NT domény: \r\n"
                  "Konfliktné služby: MS Exchange, ISA Server\r\n"
                  "Verzia MS Outloook (OUTLLIB.DLL): MS Outlook 11.0.5510\r\n");
    EXPECT_EQ(view.writtenPath, "C:\\Tools\\TarnvikAnalyzer.txt");
    EXPECT_EQ(log.end(), std::find(log.begin(), log.end(), "probe notes"));
}

TEST_F(TestRunTest, LotusRunEndsWithTheNotesLineAndSkipsTheExchangeItems) {
    view.radios = {{IDC_TYPE_EXCHANGE, false}, {IDC_TYPE_LOTUS, true}};
    run.Run(probes);
    const std::string tail = "Verzia Lotus Notes klienta: Lotus Notes 6.5.4\r\n";
    ASSERT_GE(view.writtenText.size(), tail.size());
    EXPECT_EQ(view.writtenText.substr(view.writtenText.size() - tail.size()), tail);
    EXPECT_EQ(view.writtenText.find("Outloook"), std::string::npos);
    EXPECT_EQ(log.end(), std::find(log.begin(), log.end(), "probe mapi"));
    // The blacklist holds every version the Lotus Notes conflict message forbids.
    EXPECT_EQ(probes.notesBlacklist, "5.0.11;6.0.0;6.0.1;");
    EXPECT_EQ(view.fields[IDC_LOTUS], "Lotus Notes 6.5.4");
}

TEST_F(TestRunTest, ItemsRunInTheirOrderWithRefreshesAndRedrawsBetweenThem) {
    run.Run(probes);
    const std::vector<std::string> order = {
        "probe memory", "probe processor", "probe disk", "probe disk space", "probe os",
        "probe ie", "probe ie minimum", "probe activex", "probe installation", "probe http",
        "probe https", "probe admin", "probe domain", "probe services", "probe outlook",
        "probe outlook check", "probe mapi", "write protocol"};
    std::size_t previous = 0;
    for (const auto& event : order) {
        const std::size_t at = IndexOf(event);
        EXPECT_GE(at, previous) << event;
        previous = at;
    }
    // Progress shows while the handler blocks: the HTTP result is on screen before HTTPS starts.
    const std::size_t http = IndexOf("field " + std::to_string(IDC_HTTP));
    EXPECT_EQ(log[http + 1], "refresh");
    EXPECT_EQ(log[http + 2], "redraw");
    EXPECT_LT(http, IndexOf("probe https"));
    EXPECT_EQ(log[IndexOf("field " + std::to_string(IDC_HTTPS)) + 1], "refresh");
    EXPECT_EQ(log[IndexOf("probe disk space") + 1], "refresh");
    EXPECT_EQ(log[IndexOf("field " + std::to_string(IDC_EXCHANGE)) + 1], "refresh");
    EXPECT_EQ(probes.urls.size(), 3u);  // ActiveX and HTTPS ask for the same service page
    EXPECT_EQ(probes.urls[0], probes.urls[2]);
    EXPECT_NE(probes.urls[1], probes.urls[2]);
}

TEST_F(TestRunTest, AllPassingShowsTicksAndTheSuccessBox) {
    probes.os = "";  // an unrecognised system is still no conflict
    run.Run(probes);
    for (int image : {IDC_DISK_STATUS, IDC_OS_STATUS, IDC_IE_STATUS, IDC_ACTIVEX_STATUS,
                      IDC_EARLIER_INSTALL_STATUS, IDC_HTTP_STATUS, IDC_HTTPS_STATUS,
                      IDC_ADMIN_STATUS, IDC_DOMAIN_STATUS, IDC_SERVICES_STATUS,
                      IDC_OUTLOOK_STATUS, IDC_EXCHANGE_STATUS}) {
        ASSERT_TRUE(view.images.count(image)) << image;
        EXPECT_TRUE(view.images[image]) << image;
    }
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].caption, "Informácie");
    EXPECT_EQ(view.boxes[0].kind, MessageBoxKind::Information);
    EXPECT_EQ(view.boxes[0].text,
              "Test bol úspešný.\r\nInštalácia Tarnvika by mala byť bez komplikácií.");
    EXPECT_EQ(run.GetConflicts(), view.boxes[0].text);
    EXPECT_EQ(run.GetConflictCount(), 0);
    EXPECT_EQ(view.waitCursorDepth, 0);
    EXPECT_EQ(view.fields[IDC_PROTOCOL_NOTE],
              "Protokol s výsledkom testovania je uložený v súbori:\r\nC:\\Tools\\TarnvikAnalyzer.txt");
    EXPECT_EQ(view.protocolNoteMessage, view.writtenText);
}

TEST_F(TestRunTest, FailuresAreNumberedInRunOrderAndRestartAtOneInTheNextRun) {
    probes.diskOk = false;
    probes.admin = false;
    probes.domain = "";
    run.Run(probes);
    const std::string expected =
        "Test našiel v konfigurácii počítača nasledujúce konflikty:\r\n"
        "\r\n1)  Pevný disk nemá dostatok voľného miesta. Pre inštaláciu je potrebných cca 100 MB."
        "\r\n2)  Prihlásený užívateľ nie je členom skupiny Administrators. Kontakujte správcu "
        "počítačovej siete."
        "\r\n3)  Tento počítač nie je členom domény. Kontaktujte správcu počítačovej siete.";
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].text, expected);
    EXPECT_EQ(view.boxes[0].caption, "Upozornenie");
    EXPECT_EQ(view.boxes[0].kind, MessageBoxKind::Exclamation);
    EXPECT_EQ(view.fields[IDC_DOMAIN], "Doména nenalezena");
    EXPECT_FALSE(view.images[IDC_ADMIN_STATUS]);

    // Second run: the disk passes now and loses its link; numbering starts again at 1.
    probes.diskOk = true;
    run.Run(probes);
    EXPECT_EQ(run.GetConflictCount(), 2);
    EXPECT_EQ(view.boxes[1].text.find("1)  Prihlásený"),
              std::string("Test našiel v konfigurácii počítača nasledujúce konflikty:\r\n\r\n").size());
    EXPECT_EQ(view.boxes[1].text.find("Pevný disk"), std::string::npos);
    EXPECT_EQ(view.labelMessages[IDC_DISK_LABEL], "");
    EXPECT_TRUE(view.images[IDC_DISK_STATUS]);
}

TEST_F(TestRunTest, FailedActiveXShowsFindingsInTheFieldAndTheLongTextElsewhere) {
    probes.activeXOk = false;
    probes.activeX = "Problémy v nastavení: Spúšťanie ovládacích prvkov ActiveX";
    run.Run(probes);
    const std::string item =
        "V nastavení bezpečnosti aplikácie Internet Explorer je potrebné povoliť spúšťanie a "
        "sťahovanie ActiveX prvkov. (Problémy v nastavení: Spúšťanie ovládacích prvkov ActiveX)";
    EXPECT_EQ(view.fields[IDC_ACTIVEX], probes.activeX);
    EXPECT_NE(view.writtenText.find("Stav ActiveX v IE: " + item + "\r\n"), std::string::npos);
    EXPECT_EQ(view.labelMessages[IDC_ACTIVEX_LABEL], item);
    EXPECT_NE(view.boxes.at(0).text.find("1)  " + item), std::string::npos);
}

TEST_F(TestRunTest, HttpsFieldShowsItsOwnResultNeverTheHttpOne) {
    probes.http = "OK";
    probes.https = "SSL certificate date that was received from the server is bad. The certificate is expired. ";
    probes.httpsOk = false;
    run.Run(probes);
    EXPECT_EQ(view.fields[IDC_HTTP], "OK");
    EXPECT_EQ(view.fields[IDC_HTTPS], probes.https);
    EXPECT_TRUE(view.images[IDC_HTTP_STATUS]);
    EXPECT_FALSE(view.images[IDC_HTTPS_STATUS]);
    EXPECT_NE(view.writtenText.find("HTTPS: " + probes.https + "\r\n"), std::string::npos);
    EXPECT_EQ(view.labelMessages[IDC_HTTPS_LABEL],
              "Tento počtíač nemá prístup k synchronizačnému serveru služby alebo nemáte "
              "aktualizovaný OS.");
}

TEST_F(TestRunTest, ProtocolThatCannotBeCreatedEndsTheProcessWithoutSummary) {
    view.writeResult = ProtocolWriteResult::CannotCreate;
    run.Run(probes);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].text, "Chyba! Nebolo možné vytvoriť súbor s protokolom o priebehu testu.");
    EXPECT_EQ(view.boxes[0].caption, "Chyba aplikácie");
    EXPECT_EQ(view.boxes[0].kind, MessageBoxKind::Plain);
    EXPECT_TRUE(view.exited);
    EXPECT_EQ(view.exitCode, -2);
    EXPECT_EQ(view.fields.count(IDC_PROTOCOL_NOTE), 0u);
}

TEST_F(TestRunTest, WriteErrorAfterOpeningIsReportedAndTheDialogStays) {
    view.writeResult = ProtocolWriteResult::WriteFailed;
    run.Run(probes);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].caption, "Chyba aplikácie");
    EXPECT_NE(view.boxes[0].text.find("C:\\Tools\\TarnvikAnalyzer.txt"), std::string::npos);
    EXPECT_FALSE(view.exited);
    EXPECT_EQ(view.waitCursorDepth, 0);
    EXPECT_EQ(view.fields.count(IDC_PROTOCOL_NOTE), 0u);
    EXPECT_EQ(view.protocolNoteMessage, "");
}

TEST(ProtocolHeader, ShowsDayAndMonthUnpaddedAndTheTimeZeroPadded) {
    EXPECT_EQ(protocol::Header("Tarnvik Analyzér 1.0", CalendarTime{6, 12, 2026, 2, 8, 7}), kHeader);
    const std::string header = protocol::Header("X", CalendarTime{31, 1, 2027, 23, 59, 0});
    EXPECT_EQ(header.substr(0, header.find("\r\n")), "X ŠTART TESTU - 31.1.2027 23:59:00");
}

TEST(ProtocolHeader, WithoutLocalTimeShowsZeroDateAndMinusOneTime) {
    const std::string header = protocol::Header("Tarnvik Analyzér 1.0", std::nullopt);
    EXPECT_EQ(header.substr(0, header.find("\r\n")),
              "Tarnvik Analyzér 1.0 ŠTART TESTU - 0.0.0 -1:-1:-1");
    EXPECT_EQ(header.size() - header.find("\r\n") - 2, 81u);  // 77 hyphens and two line ends
}

TEST(ProtocolPath, ReplacesTheExtensionOfTheFileNameOnly) {
    EXPECT_EQ(protocol::PathBesideExecutable(std::string("C:\\Tools\\X.exe")), "C:\\Tools\\X.txt");
    EXPECT_EQ(protocol::PathBesideExecutable(std::string("C:\\My.Tools\\Analyzer")), "C:\\My.Tools\\Analyzer.txt");
    EXPECT_EQ(protocol::PathBesideExecutable(std::string("C:\\a\\b.c.exe")), "C:\\a\\b.c.txt");
}

}  // namespace
