// The test run over a fake PC: order, texts and verdicts of every item, the numbered
// conflicts, the protocol's bytes, the summary and the protocol file that cannot be written.
#include "app/TestRun.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

#include "FakePc.h"
#include "TestUrls.h"

namespace {

using Box = std::tuple<std::string, std::string, MessageBoxKind>;

class View : public TestRunView {
public:
    std::map<Item, std::string> fields, labels;
    std::map<Item, bool> images;
    std::string note, noteMessage, written;
    bool lotus = false;
    ProtocolWriteResult writeResult = ProtocolWriteResult::Written;
    std::vector<Box> boxes;
    std::vector<int> exits;
    int waitCursor = 0;

    std::string GetCaption() const override { return "Tarnvik Analyzér 1.0"; }
    std::optional<CalendarTime> GetLocalTime() const override {
        return CalendarTime{6, 12, 2026, 2, 8, 7};
    }
    void BeginWaitCursor() override { ++waitCursor; }
    void EndWaitCursor() override { --waitCursor; }
    void SetFieldText(Item item, const std::string& text) override { fields[item] = text; }
    void SetProtocolNote(const std::string& text) override { note = text; }
    void Refresh() override {}
    void Redraw() override {}
    void ShowStatusImage(Item item, bool pass) override { images[item] = pass; }
    void SetLabelMessage(Item item, const std::string& message) override { labels[item] = message; }
    void SetProtocolNoteMessage(const std::string& message) override { noteMessage = message; }
    bool IsExchangeChecked() const override { return !lotus; }
    bool IsLotusChecked() const override { return lotus; }
    std::string GetProtocolPath() const override { return "C:\\Tools\\TarnvikAnalyzer.txt"; }
    ProtocolWriteResult WriteProtocolFile(const std::string& text) override {
        written = text;
        return writeResult;
    }
    void ShowMessageBox(const std::string& text, const std::string& caption,
                        MessageBoxKind kind) override {
        boxes.emplace_back(text, caption, kind);
    }
    void ExitProcess(int code) override { exits.push_back(code); }
};

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
    "HTTP: OK\r\nHTTPS: OK\r\n"
    "Logged user is Administrator: OK\r\n"
    "Meno NT domény: FIRMA\r\n"
    "Konfliktné služby: \r\n"
    "Verzia MS Outloook (OUTLLIB.DLL): MS Outlook 11.0.5510\r\n";
const char kTrace[] = "HKLM\\SOFTWARE\\Devadozededa|Root";
std::string Message(Item item) { return Row(item).conflictMessage; }

std::string Numbered(const std::vector<std::string>& messages) {
    std::string text = "Test našiel v konfigurácii počítača nasledujúce konflikty:\r\n";
    for (std::size_t i = 0; i < messages.size(); ++i) {
        text += "\r\n" + std::to_string(i + 1) + ")  " + messages[i];
    }
    return text;
}

TEST(TestRun, AHealthyPcPassesEveryItemAndWritesTheWholeProtocol) {
    FakePc pc;
    View view;
    TestRun(view).Run(pc);

    EXPECT_EQ(view.written, kHealthyProtocol);
    EXPECT_EQ(view.boxes, (std::vector<Box>{{"Test bol úspešný.\r\nInštalácia Tarnvika by mala byť bez "
                                             "komplikácií.", "Informácie", MessageBoxKind::Information}}));
    for (const ItemRow& row : kItems) {
        if (row.image == 0 || row.item == Item::Lotus) continue;
        EXPECT_TRUE(view.images.at(row.item)) << row.key;
        EXPECT_EQ(view.labels.at(row.item), "") << row.key;
    }
    // The log-on result is shown but never written to the protocol.
    EXPECT_EQ(view.fields[Item::Exchange], "OK");
    EXPECT_EQ(view.fields[Item::ActiveX], "OK");
    EXPECT_EQ(view.note, "Protokol s výsledkom testovania je uložený v súbori:\r\n"
                         "C:\\Tools\\TarnvikAnalyzer.txt");
    EXPECT_EQ(view.noteMessage, view.written);
    EXPECT_EQ(view.waitCursor, 0);
}

TEST(TestRun, FailuresAreNumberedInRunOrderAndCountFromOneInEveryRunOfEitherType) {
    FakePc pc;
    pc.driveC->totalFreeBytes = 99999999;
    pc.registry[kTrace] = "C:\\Program Files\\Tarnvik";
    pc.http[config::kServiceLogonUrl].status = 404;
    pc.domain = "";
    pc.actionPolicies = std::vector<std::optional<std::uint32_t>>{3, 1, 3};
    pc.mapi.reset();
    View view;
    TestRun run(view);
    run.Run(pc);

    const std::string activeX = Message(Item::ActiveX) +
                                " (Problémy v nastavení: Spúšťanie ovládacích prvkov ActiveX, "
                                "Skriptovať ActiveX označené ako bezpečné)";
    EXPECT_EQ(std::get<0>(view.boxes.at(0)),
              Numbered({Message(Item::Disk), activeX, Message(Item::EarlierInstall),
                        Message(Item::Https), Message(Item::Domain), Message(Item::Exchange)}));
    EXPECT_EQ(std::get<2>(view.boxes[0]), MessageBoxKind::Exclamation);
    EXPECT_EQ(view.labels[Item::ActiveX], activeX);
    EXPECT_FALSE(view.images[Item::Https]);
    EXPECT_EQ(view.fields[Item::Domain], "Doména nenalezena");
    EXPECT_EQ(view.fields[Item::Exchange], "Failed to initialize MAPI.");

    // Mended in between: the disk and the trace pass again and lose their marks.
    pc.driveC->totalFreeBytes = 100000000;
    pc.registry.erase(kTrace);
    run.Run(pc);
    EXPECT_EQ(std::get<0>(view.boxes.at(1)),
              Numbered({activeX, Message(Item::Https), Message(Item::Domain),
                        Message(Item::Exchange)}));
    EXPECT_TRUE(view.images[Item::Disk]);
    EXPECT_EQ(view.labels[Item::Disk], "");
    std::string changed = kHealthyProtocol;
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"11.64 GB", "95.37 MB"},
                                   {"IE: OK", "IE: " + activeX}, {"HTTPS: OK", "HTTPS: Not Found"},
                                   {"FIRMA", ""}}) {
        changed.replace(changed.find(from), from.size(), to);
    }
    EXPECT_EQ(view.written, changed);

    // Lotus Domino: the Notes item instead of the MS Exchange ones, which keep their marks.
    view.lotus = true;
    run.Run(pc);
    EXPECT_EQ(std::get<0>(view.boxes.at(2)), Numbered({activeX, Message(Item::Https),
                                                       Message(Item::Domain), Message(Item::Lotus)}));
    EXPECT_EQ(view.written.substr(view.written.rfind("Konfliktné")),
              "Konfliktné služby: \r\nVerzia Lotus Notes klienta: \r\n");
    EXPECT_FALSE(view.images[Item::Exchange]);
}

// One that cannot be created ends the program: the Windows tier shows that.
TEST(TestRun, AProtocolThatCannotBeWrittenOnceCreatedStopsTheRunButLeavesTheDialog) {
    FakePc pc;
    View view;
    view.writeResult = ProtocolWriteResult::WriteFailed;
    TestRun(view).Run(pc);
    EXPECT_EQ(view.boxes, (std::vector<Box>{{"Chyba! Nebolo možné zapísať súbor s protokolom o "
                                             "priebehu testu:\r\nC:\\Tools\\TarnvikAnalyzer.txt",
                                             "Chyba aplikácie", MessageBoxKind::Plain}}));
    EXPECT_EQ(view.note, "");
    EXPECT_TRUE(view.exits.empty());
    EXPECT_EQ(view.waitCursor, 0);
}

}  // namespace
