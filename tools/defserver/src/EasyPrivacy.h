// Tracking domains from the EasyPrivacy filter list (as uBlock Origin
// ships it): every rule that blocks a whole domain for third parties,
// "||domain^$third-party", becomes a blocked-cookie definition.
#pragma once

#include <string>
#include <vector>

namespace defserver {

// The domains, lower-cased, each once, in list order.
std::vector<std::string> ThirdPartyTrackingDomains(const std::string& list);

// A change set adding a COOK definition for each domain.
std::string CookieChangeSet(const std::vector<std::string>& domains, const std::string& date);

// The list's own header lines that name it and its licence, followed by
// where its authors publish the licence terms.
std::string LicenceNotice(const std::string& list);

}  // namespace defserver
