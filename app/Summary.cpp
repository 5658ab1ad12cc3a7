#include "app/Summary.h"

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
