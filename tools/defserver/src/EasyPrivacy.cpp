#include "EasyPrivacy.h"

#include <set>

#include "common/Lines.h"
#include "common/Text.h"

namespace defserver {

namespace {

constexpr std::string_view kPrefix = "||";
constexpr std::string_view kSuffix = "^$third-party";

bool IsDomain(std::string_view text) {
    if (text.empty() || text.find('.') == std::string_view::npos || text.front() == '.' || text.back() == '.') {
        return false;
    }
    for (char c : text) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                        c == '-';
        if (!ok) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> ThirdPartyTrackingDomains(const std::string& list) {
    std::vector<std::string> domains;
    std::set<std::string> seen;
    for (const std::string& raw : bastion::SplitLines(list)) {
        const std::string_view line = bastion::TrimmedView(raw);
        if (!bastion::StartsWith(line, kPrefix) || !bastion::EndsWith(line, kSuffix)) continue;
        const std::string_view domain = line.substr(kPrefix.size(), line.size() - kPrefix.size() - kSuffix.size());
        if (!IsDomain(domain)) continue;
        std::string lower = bastion::ToLower(domain);
        if (seen.insert(lower).second) domains.push_back(std::move(lower));
    }
    return domains;
}

std::string CookieChangeSet(const std::vector<std::string>& domains, const std::string& date) {
    std::string set =
        "# Third-party tracking domains of the EasyPrivacy list (see EasyPrivacy-Licence.txt),\r\n"
        "# made at build time.\r\n"
        "DATE " + date + "\r\n";
    for (const std::string& domain : domains) set += "ADD COOK " + domain + "\r\n";
    return set;
}

std::string LicenceNotice(const std::string& list) {
    std::string notice =
        "The blocked-cookie definitions of the starter set are the third-party tracking\r\n"
        "domains of the EasyPrivacy filter list, taken from the copy that Debian's\r\n"
        "webext-ublock-origin-firefox package ships. Its header reads:\r\n\r\n";
    for (const std::string& line : bastion::SplitLines(list)) {
        if (!bastion::StartsWith(line, "!")) break;
        if (bastion::Contains(line, "Title:") || bastion::Contains(line, "Homepage:") ||
            bastion::Contains(line, "Licence:") || bastion::Contains(line, "License:")) {
            notice += line + "\r\n";
        }
    }
    notice +=
        "\r\nCopyright (C) The EasyList authors (https://easylist.to/).\r\n"
        "Licensed under the GNU General Public License version 3 or later, or the\r\n"
        "Creative Commons Attribution-ShareAlike 3.0 licence or later, at your choice\r\n"
        "(https://easylist.to/pages/licence.html).\r\n";
    return notice;
}

}  // namespace defserver
