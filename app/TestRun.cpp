#include "app/TestRun.h"

#include "app/ItemChecks.h"
#include "app/Protocol.h"

std::optional<RunReport> RunTest(Pc& pc, const RunSettings& settings, RunObserver& observer) {
    RunReport report;
    report.protocol = ProtocolHeader(settings.caption, settings.localTime);
    ItemChecks checks(pc, settings);
    for (const ItemRow& row : kItems) {
        if (!BelongsTo(row, settings.installType)) continue;
        if (observer.IsCancelled()) return std::nullopt;
        ItemResult result = checks.Check(row.item);
        if (row.protocolLabel != nullptr) {
            report.protocol += row.protocolLabel + result.protocolValue + "\r\n";
        }
        if (result.pass == false) report.conflicts.push_back(result.message);
        observer.OnItem(row.item, result);
        report.items[static_cast<std::size_t>(row.item)] = std::move(result);
    }
    if (observer.IsCancelled()) return std::nullopt;
    return report;
}

Summary SummaryOf(const std::vector<std::string>& conflicts) {
    if (conflicts.empty()) {
        return {"Test bol úspešný.\r\nInštalácia Tarnvika by mala byť bez komplikácií.",
                kInformationCaption, MessageBoxKind::Information};
    }
    std::string text = "Test našiel v konfigurácii počítača nasledujúce konflikty:\r\n";
    for (std::size_t i = 0; i < conflicts.size(); ++i) {
        text += "\r\n" + std::to_string(i + 1) + ")  " + conflicts[i];
    }
    return {text, "Upozornenie", MessageBoxKind::Exclamation};
}
