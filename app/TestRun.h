// One press of "Test !": every probe in a fixed order, each result into its field and the
// protocol, each verdict into a status image, a label link and the numbered conflict list.
#pragma once

#include <string>

#include "app/TestRunView.h"
#include "probes/Pc.h"

// Ends the process when the protocol file cannot be created.
inline constexpr int kExitProtocolNotCreated = -2;

class TestRun {
public:
    explicit TestRun(TestRunView& view) : m_view(view) {}

    // Runs the whole test synchronously: probes, protocol file, note and summary box.
    void Run(Pc& pc);

    const std::string& GetConflicts() const { return m_strConflicts; }
    int GetConflictCount() const { return m_nConflicts; }

private:
    void RunHardwareItems(Pc& pc);
    void RunSoftwareItems(Pc& pc);
    void RunNetworkItems(Pc& pc);
    void RunAccountAndServiceItems(Pc& pc);
    void RunExchangeItems(Pc& pc);
    void RunLotusItems(Pc& pc);
    bool WriteProtocol(const std::string& path);
    void ShowSummary();

    // Records one item's verdict: pass or fail image, plain or linked label with tool tip,
    // and on failure a numbered entry "\r\n<n>)  <message>" in the conflict list.
    void SetStatus(Item item, bool pass, const std::string& conflictMessage);
    void SetStatus(Item item, bool pass) { SetStatus(item, pass, Row(item).conflictMessage); }
    void ShowField(Item item, const std::string& text) { m_view.SetFieldText(item, text); }
    void AppendLine(Item item, const std::string& value);

    TestRunView& m_view;
    std::string m_strProtocol;
    std::string m_strConflicts;
    int m_nConflicts = 0;
};
