// Windows services of server products that should not run beside the Tarnvik client.
//
// The conflict list names the products and their services:
//   product:service,service,...;product:prefix*;...
// A service entry is a service key name (not its display name); an entry that ends in '*'
// stands for every service whose key name begins with the entry without its '*'s.
#pragma once

#include <string>

// What the probe asks of the service control manager.
class ServiceCatalog {
public:
    virtual ~ServiceCatalog() = default;
    // True when a service with this key name is installed, in any state; case is ignored.
    virtual bool ServiceExists(const std::string& keyName) const = 0;
    // True when the key name of any own- or shared-process service begins with `prefix`,
    // case ignored. An empty prefix matches any such service.
    virtual bool AnyServiceNameStartsWith(const std::string& prefix) const = 0;
};

// The products of `conflictList` of which at least one service
// is installed, in their order there, joined by ", "; empty when nothing conflicts.
std::string FindConflictingServices(const std::string& conflictList,
                                    const ServiceCatalog& services);
