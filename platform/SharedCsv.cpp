#include "platform/SharedCsv.h"

namespace platform {

std::string SharedCsvAppendix(const std::string& start, const std::string& end,
                              const std::string& headerLine, const std::string& rowLine) {
    if (start.empty()) return kUtf8Bom + headerLine + rowLine;
    const std::string bom = kUtf8Bom;
    const std::string text =
        start.compare(0, bom.size(), bom) == 0 ? start.substr(bom.size()) : start;
    if (text.empty()) return headerLine + rowLine;  // the mark alone
    if (text.compare(0, headerLine.size(), headerLine) != 0) return std::string();
    return (end == "\r\n" ? "" : "\r\n") + rowLine;
}

}  // namespace platform
