#include "probes/software/Accounts.h"

#include <algorithm>

bool IsUserInAdministrators(AccountsSource& system) {
    const std::vector<TokenGroup> groups = system.ReadTokenGroups();
    // A deny-only Administrators entry does not end the search: an enabled one may follow.
    return std::any_of(groups.begin(), groups.end(), [](const TokenGroup& group) {
        return group.isAdministrators && (group.attributes & kTokenGroupEnabled) != 0;
    });
}
