#include "probes/software/Accounts.h"

#include <algorithm>

bool HasEnabledAdministratorsGroup(const std::vector<TokenGroup>& groups) {
    // A deny-only Administrators entry does not end the search: an enabled one may follow.
    return std::any_of(groups.begin(), groups.end(), [](const TokenGroup& group) {
        return group.isAdministrators && (group.attributes & kTokenGroupEnabled) != 0;
    });
}
