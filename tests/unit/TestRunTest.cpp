// The test run over a fake PC: order, texts and verdicts of every item, the numbered conflicts,
// the protocol's bytes, the summary, and a run that is cancelled or whose requests time out.
#include "app/TestRun.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "FakePc.h"
#include "TestUrls.h"
#include "app/Protocol.h"

namespace {

class Recorder : public RunObserver {
public:
    std::vector<Item> order;
    std::size_t cancelAfter = SIZE_MAX;  // items seen before the run is cancelled

    void OnItem(Item item, const ItemResult&) override { order.push_back(item); }
    bool IsCancelled() const override { return order.size() >= cancelAfter; }
};

RunSettings Settings(InstallType type = InstallType::Exchange) {
    return {"Tarnvik Analyzér 1.0", CalendarTime{6, 12, 2026, 2, 8, 7}, type, true};
}

const std::string kHealthyProtocol =
    "Tarnvik Analyzér 1.0 ŠTART TESTU - 6.12.2026 02:08:07\r\n"
    "-----------------------------------------------------------------------------\r\n"
    "\r\n"
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
const char kTrace[] = "HKLM\\SOFTWARE\\Devadozededa|Root";
std::string Message(Item item) { return Row(item).conflictMessage; }

TEST(TestRun, AHealthyPcPassesEveryItemInRunOrderAndWritesTheWholeProtocol) {
    FakePc pc;
    Recorder recorder;
    const auto report = RunTest(pc, Settings(), recorder);

    ASSERT_TRUE(report);
    EXPECT_EQ(report->protocol, kHealthyProtocol);
    EXPECT_TRUE(report->conflicts.empty());
    ASSERT_EQ(recorder.order.size(), kItemCount - 1);  // all but Lotus Notes, in table order
    for (std::size_t i = 0; i < recorder.order.size(); ++i) {
        EXPECT_EQ(recorder.order[i], kItems[i].item);
    }
    for (const ItemRow& row : kItems) {
        const auto& result = report->items[static_cast<std::size_t>(row.item)];
        if (row.item == Item::Lotus) {
            EXPECT_FALSE(result) << "of the other installation type";
        } else if (row.image != 0) {
            EXPECT_EQ(result->pass, true) << row.key;
            EXPECT_EQ(result->message, "") << row.key;
        }
    }
    // The log-on result is shown but never written to the protocol.
    EXPECT_EQ(report->items[static_cast<std::size_t>(Item::Exchange)]->field, "OK");
    EXPECT_EQ(report->items[static_cast<std::size_t>(Item::Admin)]->field, "");
}

TEST(TestRun, FailuresAreNumberedInRunOrderFromOneInEveryRunOfEitherType) {
    FakePc pc;
    pc.driveC->totalFreeBytes = 99999999;
    pc.registry[kTrace] = "C:\\Program Files\\Tarnvik";
    pc.http[config::kServiceLogonUrl].status = 404;
    pc.domain = "";
    pc.actionPolicies = std::vector<std::optional<std::uint32_t>>{3, 1, 3};
    pc.mapi.reset();
    Recorder recorder;
    const auto report = RunTest(pc, Settings(), recorder);

    const std::string activeX = Message(Item::ActiveX) +
                                " (Problémy v nastavení: Spúšťanie ovládacích prvkov ActiveX, "
                                "Skriptovať ActiveX označené ako bezpečné)";
    const std::vector<std::string> failed = {
        Message(Item::Disk), activeX,           Message(Item::EarlierInstall),
        Message(Item::Https), Message(Item::Domain), Message(Item::Exchange),
    };
    EXPECT_EQ(report->conflicts, failed);
    const auto& items = report->items;
    EXPECT_EQ(items[static_cast<std::size_t>(Item::ActiveX)]->message, activeX);
    EXPECT_EQ(items[static_cast<std::size_t>(Item::Domain)]->field, "Doména nenalezena");
    EXPECT_EQ(items[static_cast<std::size_t>(Item::Exchange)]->field, "Failed to initialize MAPI.");
    std::string protocol = kHealthyProtocol;
    const std::vector<std::pair<std::string, std::string>> changes = {
        {"11.64 GB", "95.37 MB"},
        {"IE: OK", "IE: " + activeX},
        {"nie je nainštalovaný.", "už je alebo bol niekedy nainštalovaný."},
        {"HTTPS: OK", "HTTPS: Not Found"},
        {"FIRMA", ""},
    };
    for (const auto& [from, to] : changes) protocol.replace(protocol.find(from), from.size(), to);
    EXPECT_EQ(report->protocol, protocol);

    // Lotus Domino: the Notes item instead of the MS Exchange ones, numbered from one again.
    pc.driveC->totalFreeBytes = 100000000;
    pc.registry.erase(kTrace);
    Recorder second;
    const auto lotus = RunTest(pc, Settings(InstallType::Lotus), second);
    const std::vector<std::string> lotusFailed = {
        activeX,
        Message(Item::Https),
        Message(Item::Domain),
        Message(Item::Lotus),
    };
    EXPECT_EQ(lotus->conflicts, lotusFailed);
    EXPECT_EQ(lotus->protocol.substr(lotus->protocol.rfind("Konfliktné")),
              "Konfliktné služby: \r\nVerzia Lotus Notes klienta: \r\n");
    EXPECT_FALSE(lotus->items[static_cast<std::size_t>(Item::Outlook)]);
}

TEST(TestRun, ACancelledRunStopsBeforeTheNextItemAndReportsNothing) {
    for (const std::size_t seen : {std::size_t{0}, std::size_t{7}, kItemCount - 1}) {
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
    EXPECT_EQ(report->items[static_cast<std::size_t>(Item::Http)]->field, "OK");
    EXPECT_EQ(report->items[static_cast<std::size_t>(Item::Https)]->field,
              "The request has timed out. ");
    EXPECT_EQ(report->conflicts, std::vector<std::string>{Message(Item::Https)});
}

TEST(TestRun, TheSummaryListsTheNumberedConflictsOrConfirmsSuccess) {
    const Summary success = SummaryOf({});
    EXPECT_EQ(success.text, "Test bol úspešný.\r\nInštalácia Tarnvika by mala byť bez komplikácií.");
    EXPECT_EQ(success.caption, "Informácie");
    EXPECT_EQ(success.kind, MessageBoxKind::Information);
    const Summary conflicts = SummaryOf({"Prvý.", "Druhý."});
    EXPECT_EQ(conflicts.text,
              "Test našiel v konfigurácii počítača nasledujúce konflikty:\r\n\r\n1)  Prvý.\r\n2)  Druhý.");
    EXPECT_EQ(conflicts.caption, "Upozornenie");
    EXPECT_EQ(conflicts.kind, MessageBoxKind::Exclamation);
    EXPECT_EQ(protocol::Note("C:\\Tools\\TarnvikAnalyzer.txt"),
              "Protokol s výsledkom testovania je uložený v súbori:\r\nC:\\Tools\\TarnvikAnalyzer.txt");
}

}  // namespace
