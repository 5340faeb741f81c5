// The classic cookie file of the system's internet client: one record per
// cookie, each of the lines name, value, "domain/path", flags, four time
// numbers (expiry and creation, each as two halves) and "*". Internet
// Explorer 10 and later, and Wine's internet client, name such files at
// random, so the domain of the cookies in them is found only inside.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bastion {

// The domain of the first well-formed record: the text of its
// "domain/path" line before the first "/", without leading dots (a cookie
// set for ".example.com" belongs to example.com). Nullopt when the text
// holds no such record, as for a binary index file.
std::optional<std::string> CookieRecordDomain(std::string_view content);

}  // namespace bastion
