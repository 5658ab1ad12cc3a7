#include "probes/software/InternetExplorer.h"

#include "platform/Text.h"

namespace {

const std::vector<std::uint32_t> kActiveXActions = {
    kUrlActionActiveXRun, kUrlActionDownloadSignedActiveX, kUrlActionScriptSafeActiveX};
const char* const kActiveXActionNames[] = {
    "Spúšťanie ovládacích prvkov ActiveX",
    "Sťahovať podpísané ovládacie prvky ActiveX",
    "Skriptovať ActiveX označené ako bezpečné",
};

}  // namespace

std::string DescribeIeVersion(const IeSource& system) {
    const ModuleVersion version(system, kIeVersionLibrary);
    if (!version.found) return "Internet Explorer nebol detekovaný.";
    return text::Format("Internet Explorer %d.%d.%d", static_cast<int>(version.major),
                        static_cast<int>(version.minor), static_cast<int>(version.build));
}

bool IsIeVersionAtLeast(const IeSource& system, std::int32_t major, std::int32_t minor,
                        std::int32_t build) {
    // A second detection of its own; the numbers count as they stand, found or not.
    const ModuleVersion version(system, kIeVersionLibrary);
    if (version.major != major) return version.major > major;
    if (version.minor != minor) return version.minor > minor;
    return version.build >= build;
}

bool CheckActiveXZonePolicy(IeSource& system, const std::string& url, std::string& detail) {
    const auto policies = system.ReadActionPolicies(url, kActiveXActions);
    if (!policies) return false;
    std::string problems;
    for (std::size_t i = 0; i < kActiveXActions.size() && i < policies->size(); ++i) {
        // Only a refusal is a problem: allowed, prompt, any other value or an unanswered
        // query leave the user able to run the controls.
        if ((*policies)[i] != kUrlPolicyDisallow) continue;
        if (!problems.empty()) problems += ", ";
        problems += kActiveXActionNames[i];
    }
    detail += problems.empty() ? "OK" : "Problémy v nastavení: " + problems;
    return problems.empty();
}
