// One press of "Test !": every probe in a fixed order, each result into its field and the
// protocol, each verdict into a status image, a label link and the numbered conflict list.
#pragma once

#include <string>

#include "app/TestRunProbes.h"
#include "app/TestRunView.h"

class TestRun {
public:
    explicit TestRun(TestRunView& view) : m_view(view) {}

    // Runs the whole test synchronously: probes, protocol file, note and summary box.
    void Run(TestRunProbes& probes);

    // Records one item's verdict: pass or fail image, plain or linked label with tool tip,
    // and on failure a numbered entry "\r\n<n>)  <message>" in the conflict list.
    void SetStatus(int imageId, bool pass, int labelId, const std::string& conflictMessage);

    const std::string& GetConflicts() const { return m_strConflicts; }
    int GetConflictCount() const { return m_nConflicts; }

private:
    void RunHardwareItems(TestRunProbes& probes);
    void RunSoftwareItems(TestRunProbes& probes);
    void RunNetworkItems(TestRunProbes& probes);
    void RunAccountAndServiceItems(TestRunProbes& probes);
    void RunExchangeItems(TestRunProbes& probes);
    void RunLotusItems(TestRunProbes& probes);
    bool WriteProtocol(const std::string& path);
    void ShowSummary();

    void ShowField(int fieldId, const std::string& text) { m_view.SetFieldText(fieldId, text); }
    void AppendLine(const char* label, const std::string& value);

    TestRunView& m_view;
    std::string m_strProtocol;
    std::string m_strConflicts;
    int m_nConflicts = 0;
};
