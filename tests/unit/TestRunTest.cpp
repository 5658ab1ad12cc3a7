#include "app/TestRun.h"

#include <gtest/gtest.h>

#include "FakePc.h"
#include "TestUrls.h"
#include "app/ItemChecks.h"
#include "app/Protocol.h"
#include "app/Summary.h"

namespace {

class Recorder : public RunObserver {
public:
    std::vector<Item> order;
    std::vector<Item> waitingAfter;      // each waiting item, and the last item judged before it
    std::size_t cancelAfter = SIZE_MAX;  // items seen before the run is cancelled

    void OnWaiting(Item item) override {
        waitingAfter.push_back(order.back());
        waitingAfter.push_back(item);
    }
    void OnItem(Item item, const ItemResult&) override { order.push_back(item); }
    bool IsCancelled() const override { return order.size() >= cancelAfter; }
};

RunSettings Settings(InstallType type = InstallType::Exchange) {
    return {"Tarnvik Analyzér 1.0", CalendarTime{6, 12, 2026, 2, 8, 7}, type, false};
}

const ItemResult& Result(const RunReport& report, Item item) {
    return *report.items[static_cast<std::size_t>(item)];
}

const std::string kHealthyProtocol =
    "Tarnvik Analyzér 1.0 ŠTART TESTU - 6.12.2026 02:08:07\r\n" + std::string(77, '-') +
    "\r\n\r\n"
    "Kapacita RAM: 512 MB\r\n"
    "Procesor: Intel(R) Pentium(R) M processor 1.60GHz [2394 MHz]\r\n"
    "Disk C:\\: 37.26 GB, z toho voľných 11.64 GB\r\n"
    "Verzia OS: Microsoft Windows XP Professional Service Pack 2 (Build 2600)\r\n"
    "Verzia Internet Explorera: Internet Explorer 6.0.2900\r\n"
    "Stav ActiveX v IE: OK\r\n"
    "Inštalácia Tarnvika: Tarnvik nie je nainštalovaný.\r\n"
    "HTTP: OK\r\n"
    "HTTPS: OK\r\n"
    "Logged user is Administrator: OK\r\n"
    "Meno NT domény: FIRMA\r\n"
    "Konfliktné služby: \r\n"
    "Verzia MS Outloook (OUTLLIB.DLL): MS Outlook 11.0.5510\r\n";

TEST(TestRun, AHealthyPcPassesEveryItemInRunOrderAndWritesTheWholeProtocol) {
    FakePc pc;
    pc.dllVersions.erase("C:\\OFFICE\\OUTLLIB.DLL");
    pc.fileVersions["C:\\OFFICE\\OUTLLIB.DLL"] = "11.0.5510";
    Recorder recorder;
    const auto report = RunTest(pc, Settings(), recorder);

    ASSERT_TRUE(report);
    EXPECT_EQ(report->protocol, kHealthyProtocol);
    EXPECT_TRUE(report->conflicts.empty());
    // All but Lotus Notes, in table order, but for the network's items: announced as waiting in
    // their turn, judged after every item that needs no network.
    const std::vector<Item> order = {
        Item::Ram,    Item::Cpu,      Item::Disk,           Item::Os,
        Item::Ie,     Item::ActiveX,  Item::EarlierInstall, Item::Admin,
        Item::Domain, Item::Services, Item::Outlook,        Item::Exchange,
        Item::Http,   Item::Https};
    EXPECT_EQ(recorder.order, order);
    EXPECT_EQ(recorder.waitingAfter, (std::vector<Item>{Item::EarlierInstall, Item::Http,
                                                        Item::EarlierInstall, Item::Https}));
    EXPECT_FALSE(report->items[static_cast<std::size_t>(Item::Lotus)]) << "of the other type";
    // The log-on result is shown but never written to the protocol.
    EXPECT_EQ(Result(*report, Item::Exchange).field, "OK");
    EXPECT_EQ(Result(*report, Item::Admin).field, "");
    const auto& paths = pc.versionPaths;
    EXPECT_EQ(std::count(paths.begin(), paths.end(), "C:\\OFFICE\\OUTLLIB.DLL"), 1) << "read once";
}

TEST(TestRun, FailuresAreListedInRunOrderFromOneInEveryRun) {
    FakePc pc;
    pc.driveC->totalFreeBytes = 99999999;
    pc.dllVersions["shlwapi.dll"] = {5, 50, 4521};
    pc.actionPolicies = FakePc::Policies{3, 3, 3};
    pc.registry["HKLM\\SOFTWARE\\Devadozededa|Root"] = "C:\\Program Files\\Tarnvik";
    pc.http[kPublicTestUrl].status = 500;
    pc.http[kServiceLogonUrl].status = 404;
    pc.tokenGroups.clear();
    pc.domain = "";
    pc.services = {"w3proxy"};
    pc.dllVersions["C:\\OFFICE\\OUTLLIB.DLL"] = {9, 0, 4526};
    pc.mapi.reset();
    pc.registry.erase("HKLM\\SOFTWARE\\Lotus\\Notes|Path");  // no Lotus Notes
    Recorder recorder;
    const auto report = RunTest(pc, Settings(), recorder);

    // The ActiveX conflict names the actions the field lists (all three here).
    const ItemResult& activeX = Result(*report, Item::ActiveX);
    EXPECT_EQ(activeX.message, Row(Item::ActiveX).conflictMessage + (" (" + activeX.field + ")"));
    EXPECT_EQ(std::count(activeX.field.begin(), activeX.field.end(), ','), 2);
    // In run order, though the network's items were judged last.
    std::vector<std::string> expected;
    for (const ItemRow& row : kItems) {
        if (row.item == Item::ActiveX) expected.push_back(activeX.message);
        if (row.item == Item::Os || row.item == Item::ActiveX || row.item == Item::Lotus) continue;
        if (row.conflictMessage) expected.push_back(row.conflictMessage);
    }
    EXPECT_EQ(report->conflicts, expected);
    EXPECT_EQ(expected.size(), 11u);
    // Each address answered its own item.
    EXPECT_EQ(Result(*report, Item::Http).field, "Internal Server Error");
    EXPECT_EQ(Result(*report, Item::Https).field, "Not Found");
    EXPECT_EQ(Result(*report, Item::Domain).field, "Doména nenalezena");
    EXPECT_NE(report->protocol.find("\r\nStav ActiveX v IE: " + activeX.message + "\r\n"),
              std::string::npos);
    EXPECT_NE(
        report->protocol.find("\r\nLogged user is Administrator: Error\r\nMeno NT domény: \r\n"),
        std::string::npos);

    // Lotus Domino: the Notes item instead of the MS Exchange ones, numbered from one again.
    Recorder second;
    const auto lotus = RunTest(pc, Settings(InstallType::Lotus), second);
    EXPECT_EQ(lotus->conflicts.back(), Row(Item::Lotus).conflictMessage);
    EXPECT_EQ(lotus->protocol.substr(lotus->protocol.rfind("Konfliktné")),
              "Konfliktné služby: ISA Server\r\nVerzia Lotus Notes klienta: \r\n");
}

TEST(TestRun, EachThresholdHoldsExactlyAtItsBound) {
    struct Case {
        Item item;
        Version version;  // of shlwapi.dll, OUTLLIB.DLL or notes.exe
        bool pass = false;
    };
    const Case cases[] = {
        {.item = Item::Ie, .version = {5, 50, 4521}},
        {.item = Item::Ie, .version = {5, 50, 4522}, .pass = true},
        {.item = Item::Outlook, .version = {9, 0, 4526}},
        {.item = Item::Outlook, .version = {9, 0, 4527}, .pass = true},
        {.item = Item::Outlook, .version = {10, 0, 2627}},
        {.item = Item::Outlook,
         .version = {10, 0, 262},
         .pass = true},  // a blacklist entry ends at its ';'
        {.item = Item::Lotus, .version = {5, 0, 5}},
        {.item = Item::Lotus, .version = {5, 0, 6}, .pass = true},
        {.item = Item::Lotus, .version = {5, 0, 11}},
        {.item = Item::Lotus, .version = {6, 0, 0}},
        {.item = Item::Lotus, .version = {6, 0, 1}},
        {.item = Item::Lotus, .version = {6, 0, 2}, .pass = true},
    };
    for (const Case& c : cases) {
        FakePc pc;
        pc.dllVersions["shlwapi.dll"] = c.version;
        pc.dllVersions["C:\\OFFICE\\OUTLLIB.DLL"] = c.version;
        pc.fileVersions["C:\\Notes\\notes.exe"] = c.version.Text();
        const RunSettings settings = Settings();
        EXPECT_EQ(ItemChecks(pc, settings).Check(c.item).verdict, VerdictOf(c.pass))
            << c.version.Text();
    }
    for (const std::uint64_t free : {99999999ull, 100000000ull}) {
        FakePc pc;
        pc.driveC->totalFreeBytes = free;
        const RunSettings settings = Settings();
        EXPECT_EQ(ItemChecks(pc, settings).Check(Item::Disk).verdict, VerdictOf(free >= 100000000))
            << free;
    }
}

TEST(TestRun, ACancelledRunStopsBeforeTheNextItemAndReportsNothing) {
    for (const std::size_t seen : {std::size_t{0}, kItemCount - 1}) {
        FakePc pc;
        Recorder recorder;
        recorder.cancelAfter = seen;
        EXPECT_FALSE(RunTest(pc, Settings(), recorder));
        EXPECT_EQ(recorder.order.size(), seen);
    }
}

TEST(TestRun, ARequestStillGoingAtItsDeadlineTimedOut) {
    FakePc pc;
    pc.givenUpJobs = 1;  // the second of the two, HTTPS
    Recorder recorder;
    const auto report = RunTest(pc, Settings(), recorder);
    EXPECT_EQ(Result(*report, Item::Http).field, "OK");
    EXPECT_EQ(Result(*report, Item::Https).field, "The request has timed out. ");
    EXPECT_EQ(report->conflicts, std::vector<std::string>{Row(Item::Https).conflictMessage});
}

TEST(TestRun, TheSuccessBoxTheNoteAndAHeaderWithoutLocalTime) {
    const Summary success = SummaryOf({});
    EXPECT_EQ(success.text,
              "Test bol úspešný.\r\nInštalácia Tarnvika by mala byť bez komplikácií.");
    EXPECT_EQ(success.caption, "Informácie");
    EXPECT_EQ(success.kind, MessageBoxKind::Information);
    const Summary conflicts = SummaryOf({"x"});
    EXPECT_EQ(conflicts.caption, "Upozornenie");
    EXPECT_EQ(conflicts.kind, MessageBoxKind::Exclamation);
    EXPECT_EQ(SummaryOf({"a", "b"}).text,
              "Test našiel v konfigurácii počítača nasledujúce konflikty:\r\n\r\n1)  a\r\n2)  b");
    EXPECT_EQ(ProtocolNote("C:\\p.txt"),
              "Protokol s výsledkom testovania je uložený v súbori:\r\nC:\\p.txt");
    EXPECT_EQ(ProtocolNotWritten("C:\\p.txt"),
              "Chyba! Nebolo možné zapísať súbor s protokolom o priebehu testu:\r\nC:\\p.txt");
    EXPECT_EQ(ProtocolHeader("T", std::nullopt),
              "T ŠTART TESTU - 0.0.0 -1:-1:-1\r\n" + std::string(77, '-') + "\r\n\r\n");
}

}  // namespace
