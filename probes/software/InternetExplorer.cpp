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
    return "Internet Explorer " + version.Text();
}

bool IsIeVersionAtLeast(const IeSource& system, const Version& minimum) {
    // A second detection of its own; the numbers count as they stand, found or not.
    return ModuleVersion(system, kIeVersionLibrary).IsAtLeast(minimum);
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
