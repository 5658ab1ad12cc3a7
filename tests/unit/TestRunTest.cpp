#include "app/TestRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/Protocol.h"
#include "platform/Text.h"
#include "res/resource.h"

namespace {

using Log = std::vector<std::string>;
using Box = std::tuple<std::string, std::string, MessageBoxKind>;
const char kPath[] = "C:\\Tools\\TarnvikAnalyzer.txt";
const char kConflicts[] = "Test našiel v konfigurácii počítača nasledujúce konflikty:\r\n";
const char kHeader[] =
    "Tarnvik Analyzér 1.0 ŠTART TESTU - 6.12.2026 02:08:07\r\n"
    "-----------------------------------------------------------------------------\r\n\r\n";

// The dialog and the probes in one script: texts and verdicts are chosen by the test, and
// probe calls ("probe <name>"), field texts, refreshes and the protocol write are logged in order.
class Script : public TestRunView, public TestRunProbes {
public:
    Log log;
    std::map<int, std::string> fields, labels;
    std::map<int, bool> images;
    bool lotus = false;  // which of the two installation type radios is checked
    std::string note, written;
    ProtocolWriteResult writeResult = ProtocolWriteResult::Written;
    std::vector<int> exits;
    int waitCursorDepth = 0;
    std::vector<Box> boxes;
    std::map<std::string, std::string> text = {
        {"memory", "512 MB"}, {"processor", "Intel(R) CPU [2394 MHz]"},
        {"disk", "37.26 GB, z toho voľných 11.64 GB"}, {"os", "Microsoft Windows XP"},
        {"ie", "Internet Explorer 6.0.2900"}, {"activex", "OK"},
        {"installation", "Tarnvik nie je nainštalovaný."}, {"http", "OK"}, {"https", "OK"},
        {"domain", "FIRMA"}, {"outlook", "MS Outlook 11.0.5510"}, {"mapi", "OK"},
        {"notes", "Lotus Notes 6.5.4"}};
    std::set<std::string> failing;            // the verdicts that fail
    std::map<std::string, std::string> args;  // what each verdict was asked with
    Log urls;

    std::string GetCaption() const override { return "Tarnvik Analyzér 1.0"; }
    std::optional<CalendarTime> GetLocalTime() const override {
        return CalendarTime{6, 12, 2026, 2, 8, 7};
    }
    void BeginWaitCursor() override { ++waitCursorDepth; }
    void EndWaitCursor() override { --waitCursorDepth; }
    void SetFieldText(int id, const std::string& value) override {
        fields[id] = value;
        log.push_back("field " + std::to_string(id));
    }
    void Refresh() override { log.push_back("refresh"); }
    void Redraw() override { log.push_back("redraw"); }
    void ShowStatusImage(int id, bool pass) override { images[id] = pass; }
    void SetLabelMessage(int id, const std::string& message) override { labels[id] = message; }
    void SetProtocolNoteMessage(const std::string& message) override { note = message; }
    bool IsRadioChecked(int id) const override { return (id == IDC_TYPE_LOTUS) == lotus; }
    std::string GetProtocolPath() const override { return kPath; }
    ProtocolWriteResult WriteProtocolFile(const std::string& path, const std::string& value) override {
        written = value;
        log.push_back("write " + path);
        return writeResult;
    }
    void ShowMessageBox(const std::string& message, const std::string& caption,
                        MessageBoxKind kind) override {
        boxes.emplace_back(message, caption, kind);
    }
    void ExitProcess(int code) override { exits.push_back(code); }

    std::string GetMemoryText() override { return Text("memory"); }
    std::string GetProcessorText() override { return Text("processor"); }
    std::string GetDiskText() override { return Text("disk"); }
    bool HasEnoughDiskSpace(std::int32_t bytes) override {
        return Verdict("disk space", std::to_string(bytes));
    }
    std::string DescribeOperatingSystem() override { return Text("os"); }
    std::string DescribeIeVersion() override { return Text("ie"); }
    bool IsIeVersionAtLeast(std::int32_t major, std::int32_t minor, std::int32_t build) override {
        return Verdict("ie minimum", Version(major, minor, build, ""));
    }
    bool CheckActiveXZonePolicy(const std::string& url, std::string& detail) override {
        urls.push_back(url);
        detail += text["activex"];
        return Verdict("activex");
    }
    bool CheckEarlierInstallation(std::string& result) override {
        result = text["installation"];
        return Verdict("installation");
    }
    bool TestUrl(const std::string& url, std::string& message) override {
        urls.push_back(url);
        const std::string name = urls.size() == 2 ? "http" : "https";
        message = text[name];
        return Verdict(name);
    }
    bool IsUserInAdministrators() override { return Verdict("admin"); }
    std::string GetPrimaryDomainName() override { return Text("domain"); }
    std::string FindConflictingServices(const std::string&) override { return Text("services"); }
    std::string GetOutlookVersionText() override { return Text("outlook"); }
    bool CheckOutlookVersion(std::int32_t major, std::int32_t minor, std::int32_t build,
                             const std::string& blacklist) override {
        return Verdict("outlook check", Version(major, minor, build, blacklist));
    }
    bool TestMapiLogon(std::string& message) override {
        message = text["mapi"];
        return Verdict("mapi");
    }
    std::string GetNotesVersionText() override { return Text("notes"); }
    bool CheckNotesVersion(std::int32_t major, std::int32_t minor, std::int32_t build,
                           const std::string& blacklist) override {
        return Verdict("notes check", Version(major, minor, build, blacklist));
    }

    // The probes called and the protocol written, in order.
    Log Probed() const {
        Log probed;
        for (const auto& event : log) {
            if (event.rfind("probe ", 0) == 0) probed.push_back(event.substr(6));
            if (event.rfind("write ", 0) == 0) probed.push_back(event);
        }
        return probed;
    }
    // The `count` events after the first one equal to `event`.
    Log After(const std::string& event, std::size_t count) const {
        std::size_t at = 0;
        while (at < log.size() && log[at] != event) ++at;
        return Log(log.begin() + std::min(at + 1, log.size()),
                   log.begin() + std::min(at + 1 + count, log.size()));
    }

private:
    static std::string Version(int major, int minor, int build, const std::string& blacklist) {
        return text::Format("%d.%d.%d ", major, minor, build) + blacklist;
    }
    std::string Text(const std::string& name) {
        log.push_back("probe " + name);
        return text[name];
    }
    bool Verdict(const std::string& name, const std::string& arg = "") {
        log.push_back("probe " + name);
        args[name] = arg;
        return failing.count(name) == 0;
    }
};

class TestRunTest : public ::testing::Test {
protected:
    Script script;
    TestRun run{script};
};

TEST_F(TestRunTest, ExchangeRunProbesInOrderAndWritesEveryLineButTheLogon) {
    script.text["domain"] = "";
    script.text["services"] = "MS Exchange, ISA Server";
    run.Run(script);
    EXPECT_EQ(script.Probed(), (Log{"memory", "processor", "disk", "disk space", "os", "ie",
                                    "ie minimum", "activex", "installation", "http", "https",
                                    "admin", "domain", "services", "outlook", "outlook check",
                                    "mapi", std::string("write ") + kPath}));
    EXPECT_EQ(script.written,
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
    // The fixed requirements: 100 MB of disk, IE 5.5 SP1, Outlook 2000 SP2 but not XP SP1.
    EXPECT_EQ(script.args["disk space"], "100000000");
    EXPECT_EQ(script.args["ie minimum"], "5.50.4522 ");
    EXPECT_EQ(script.args["outlook check"], "9.0.4527 10.0.2627;");
    ASSERT_EQ(script.urls.size(), 3u);  // ActiveX and HTTPS ask for the same service page
    EXPECT_EQ(script.urls[0], script.urls[2]);
    EXPECT_NE(script.urls[1], script.urls[2]);
}

TEST_F(TestRunTest, LotusRunEndsWithTheNotesLineAndSkipsTheExchangeItems) {
    script.lotus = true;
    run.Run(script);
    const Log probed = script.Probed();
    EXPECT_EQ(Log(probed.end() - 4, probed.end() - 1), (Log{"services", "notes", "notes check"}));
    EXPECT_EQ(script.written.substr(script.written.find("Konfliktné")),
              "Konfliktné služby: \r\nVerzia Lotus Notes klienta: Lotus Notes 6.5.4\r\n");
    EXPECT_EQ(script.fields[IDC_LOTUS], "Lotus Notes 6.5.4");
    // Lotus Notes 5 or later, but none of the versions the conflict message forbids.
    EXPECT_EQ(script.args["notes check"], "5.0.6 5.0.11;6.0.0;6.0.1;");
}

TEST_F(TestRunTest, ProgressIsShownBetweenTheItems) {
    run.Run(script);
    // The HTTP result is on screen before HTTPS starts, while the handler blocks.
    EXPECT_EQ(script.After("field " + std::to_string(IDC_HTTP), 3),
              (Log{"refresh", "redraw", "probe https"}));
    EXPECT_EQ(script.After("field " + std::to_string(IDC_HTTPS), 2), (Log{"refresh", "redraw"}));
    EXPECT_EQ(script.After("probe disk space", 1), Log{"refresh"});
    EXPECT_EQ(script.After("field " + std::to_string(IDC_EXCHANGE), 1), Log{"refresh"});
}

TEST_F(TestRunTest, AllPassingShowsTicksAndTheSuccessBox) {
    script.text["os"] = "";  // an unrecognised system is still no conflict
    run.Run(script);
    EXPECT_EQ(script.images.size(), 12u);
    for (const auto& [image, pass] : script.images) EXPECT_TRUE(pass) << image;
    const std::string success =
        "Test bol úspešný.\r\nInštalácia Tarnvika by mala byť bez komplikácií.";
    EXPECT_EQ(script.boxes, (std::vector<Box>{{success, "Informácie", MessageBoxKind::Information}}));
    EXPECT_EQ(run.GetConflicts(), success);
    EXPECT_EQ(run.GetConflictCount(), 0);
    EXPECT_EQ(script.waitCursorDepth, 0);
    EXPECT_EQ(script.fields[IDC_PROTOCOL_NOTE],
              "Protokol s výsledkom testovania je uložený v súbori:\r\nC:\\Tools\\TarnvikAnalyzer.txt");
    EXPECT_EQ(script.note, script.written);
}

TEST_F(TestRunTest, FailuresAreListedInRunOrderWithTheirDetailsAndRenumberedInTheNextRun) {
    const std::string findings = "Problémy v nastavení: Spúšťanie ovládacích prvkov ActiveX";
    const std::string expired = "SSL certificate date that was received from the server is bad. "
                                "The certificate is expired. ";
    script.failing = {"disk space", "activex", "https", "admin"};
    script.text["activex"] = findings;
    script.text["https"] = expired;
    script.text["domain"] = "";
    run.Run(script);
    const std::string disk =
        "Pevný disk nemá dostatok voľného miesta. Pre inštaláciu je potrebných cca 100 MB.";
    const std::string activeX =
        "V nastavení bezpečnosti aplikácie Internet Explorer je potrebné povoliť spúšťanie a "
        "sťahovanie ActiveX prvkov. (" + findings + ")";
    const std::string https = "Tento počtíač nemá prístup k synchronizačnému serveru služby alebo "
                              "nemáte aktualizovaný OS.";
    const std::string admin = "Prihlásený užívateľ nie je členom skupiny Administrators. "
                              "Kontakujte správcu počítačovej siete.";
    const std::string domain =
        "Tento počítač nie je členom domény. Kontaktujte správcu počítačovej siete.";
    EXPECT_EQ(script.boxes, (std::vector<Box>{{kConflicts + ("\r\n1)  " + disk) + "\r\n2)  " +
                                                   activeX + "\r\n3)  " + https + "\r\n4)  " +
                                                   admin + "\r\n5)  " + domain,
                                               "Upozornenie", MessageBoxKind::Exclamation}}));
    EXPECT_EQ(script.labels[IDC_DISK_LABEL], disk);
    EXPECT_EQ(script.labels[IDC_ACTIVEX_LABEL], activeX);
    EXPECT_EQ(script.labels[IDC_HTTPS_LABEL], https);
    // The ActiveX field shows the findings alone; each address shows its own result.
    EXPECT_EQ(script.fields[IDC_ACTIVEX], findings);
    EXPECT_EQ(script.fields[IDC_HTTP], "OK");
    EXPECT_EQ(script.fields[IDC_HTTPS], expired);
    EXPECT_TRUE(script.images[IDC_HTTP_STATUS]);
    EXPECT_FALSE(script.images[IDC_HTTPS_STATUS]);
    EXPECT_EQ(script.fields[IDC_DOMAIN], "Doména nenalezena");
    for (const std::string& line : {"Stav ActiveX v IE: " + activeX, "HTTPS: " + expired,
                                    std::string("Logged user is Administrator: Error")}) {
        EXPECT_NE(script.written.find("\r\n" + line + "\r\n"), std::string::npos) << line;
    }

    // Second run: the disk passes now and loses its link; numbering starts again at 1.
    script.failing = {"admin"};
    run.Run(script);
    EXPECT_EQ(run.GetConflicts(), kConflicts + ("\r\n1)  " + admin) + "\r\n2)  " + domain);
    EXPECT_EQ(run.GetConflictCount(), 2);
    EXPECT_EQ(script.labels[IDC_DISK_LABEL], "");
    EXPECT_TRUE(script.images[IDC_DISK_STATUS]);
}

TEST_F(TestRunTest, ProtocolThatCannotBeCreatedEndsTheProcessWithoutSummary) {
    script.writeResult = ProtocolWriteResult::CannotCreate;
    run.Run(script);
    EXPECT_EQ(script.boxes, (std::vector<Box>{
                              {"Chyba! Nebolo možné vytvoriť súbor s protokolom o priebehu testu.",
                               "Chyba aplikácie", MessageBoxKind::Plain}}));
    EXPECT_EQ(script.exits, std::vector<int>{-2});
    EXPECT_EQ(script.fields.count(IDC_PROTOCOL_NOTE), 0u);
}

TEST_F(TestRunTest, WriteErrorAfterOpeningIsReportedAndTheDialogStays) {
    script.writeResult = ProtocolWriteResult::WriteFailed;
    run.Run(script);
    EXPECT_EQ(script.boxes, (std::vector<Box>{
                              {"Chyba! Nebolo možné zapísať súbor s protokolom o priebehu "
                               "testu:\r\nC:\\Tools\\TarnvikAnalyzer.txt",
                               "Chyba aplikácie", MessageBoxKind::Plain}}));
    EXPECT_TRUE(script.exits.empty());
    EXPECT_EQ(script.waitCursorDepth, 0);
    EXPECT_EQ(script.fields.count(IDC_PROTOCOL_NOTE), 0u);
    EXPECT_EQ(script.note, "");
}

TEST(ProtocolHeader, ShowsDayAndMonthUnpaddedAndTheTimeZeroPaddedOrMinusOne) {
    EXPECT_EQ(protocol::Header("Tarnvik Analyzér 1.0", CalendarTime{6, 12, 2026, 2, 8, 7}), kHeader);
    const std::string rule = "\r\n" + std::string(77, '-') + "\r\n\r\n";
    EXPECT_EQ(protocol::Header("X", CalendarTime{31, 1, 2027, 23, 59, 0}),
              "X ŠTART TESTU - 31.1.2027 23:59:00" + rule);
    EXPECT_EQ(protocol::Header("X", std::nullopt), "X ŠTART TESTU - 0.0.0 -1:-1:-1" + rule);
}

TEST(ProtocolPath, ReplacesTheExtensionOfTheFileNameOnly) {
    EXPECT_EQ(protocol::PathBesideExecutable(std::string("C:\\Tools\\X.exe")), "C:\\Tools\\X.txt");
    EXPECT_EQ(protocol::PathBesideExecutable(std::string("C:\\My.Tools\\Analyzer")),
              "C:\\My.Tools\\Analyzer.txt");
    EXPECT_EQ(protocol::PathBesideExecutable(std::string("C:\\a\\b.c.exe")), "C:\\a\\b.c.txt");
}

}  // namespace
