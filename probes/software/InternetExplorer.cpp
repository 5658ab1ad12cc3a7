#include "probes/software/InternetExplorer.h"

#include "platform/Text.h"
#include "probes/software/ModuleVersion.h"

namespace {

struct ActiveXAction {
    std::uint32_t action;
    const char* name;
};

constexpr ActiveXAction kActiveXActions[] = {
    {kUrlActionActiveXRun, "Spúšťanie ovládacích prvkov ActiveX"},
    {kUrlActionDownloadSignedActiveX, "Sťahovať podpísané ovládacie prvky ActiveX"},
    {kUrlActionScriptSafeActiveX, "Skriptovať ActiveX označené ako bezpečné"},
};

}  // namespace

std::string DescribeIeVersion(const ModuleVersion& version) {
    if (!version.found) return "Internet Explorer nebol detekovaný.";
    return text::Format("Internet Explorer %d.%d.%d", static_cast<int>(version.major),
                        static_cast<int>(version.minor), static_cast<int>(version.build));
}

bool IsIeVersionAtLeast(const ModuleVersion& version, std::int32_t major, std::int32_t minor,
                        std::int32_t build) {
    if (version.major != major) return version.major > major;
    if (version.minor != minor) return version.minor > minor;
    return version.build >= build;
}

bool CheckActiveXZonePolicy(ZonePolicySource& source, const std::string& url,
                            std::string& detail) {
    if (!source.OpenZoneOf(url)) return false;
    std::string problems;
    for (const ActiveXAction& entry : kActiveXActions) {
        // Only a refusal is a problem: allowed, prompt, any other value or an unanswered
        // query leave the user able to run the controls.
        if (source.ActionPolicy(entry.action) != kUrlPolicyDisallow) continue;
        if (!problems.empty()) problems += ", ";
        problems += entry.name;
    }
    detail += problems.empty() ? "OK" : "Problémy v nastavení: " + problems;
    return problems.empty();
}
