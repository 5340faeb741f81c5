#include "update/UpdateAddresses.h"

#include "BuildIdentity.h"
#include "common/Text.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

namespace {

constexpr std::string_view kFallbackSite = "http://www.bastion.example";

std::string IdentityQuery(const services::Identity& identity) {
    return "?prog=" + PercentEncode(identity.productName) + "&comp=" + PercentEncode(identity.companyName);
}

std::string ServerBase(const services::SettingsStore& settings, const services::SettingKey& mirror,
                       std::string_view built) {
    std::string base = Trim(settings.Read(mirror));
    return base.empty() ? std::string(built) : base;
}

}  // namespace

std::string DefinitionServerBase(const services::SettingsStore& settings) {
    return ServerBase(settings, services::settings::kDefinitionServer, build::kDefinitionServer);
}

std::string LanguageServerBase(const services::SettingsStore& settings) {
    return ServerBase(settings, services::settings::kLanguageServer, build::kLanguageServer);
}

std::string JoinUrl(std::string_view base, std::string_view path) {
    while (!base.empty() && base.back() == '/') base.remove_suffix(1);
    while (!path.empty() && path.front() == '/') path.remove_prefix(1);
    std::string url(base);
    url += '/';
    url += path;
    return url;
}

std::string PercentEncode(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

std::string CurrentDateUrl(std::string_view base, const services::Identity& identity) {
    return JoinUrl(base, "/asp/currentDateNEW.asp" + IdentityQuery(identity));
}

std::string DeltaUrl(std::string_view base, const services::Identity& identity, std::string_view localDate) {
    return JoinUrl(base, "/asp/getDefsNEW.asp" + IdentityQuery(identity) + "&date=" + PercentEncode(localDate));
}

std::string NewDateUrl(std::string_view base) { return JoinUrl(base, "/asp/date.asp"); }

std::string LanguageFileUrl(std::string_view base, const services::Identity& identity) {
    return JoinUrl(base, "/Languages/" + ToDecimal(identity.brandingNumber) + "/Localization.txt");
}

std::string VendorSiteBase(const services::Identity& identity) {
    std::string site = ReplaceAll(Trim(identity.website), "http://", "");
    if (site.empty()) return std::string(kFallbackSite);
    site = site.substr(0, site.find('/'));
    if (!Contains(site, "www.")) site = "www." + site;
    return "http://" + site;
}

std::string UpdateAddressList(const services::Identity& identity) {
    const std::string site = VendorSiteBase(identity);
    std::string list;
    for (std::string_view path :
         {"/definitions/version/R.HTM", "/definitions/version/F.HTM", "/definitions/version/E.HTM",
          "/definitions/version/C.HTM", "/definitions/data/BlockedCookies.dat",
          "/definitions/data/RegistryDefinition.dat", "/definitions/data/FileDefinition.dat",
          "/definitions/data/ExeDefinition.dat"}) {
        list += site;
        list += path;
        list += "\r\n";
    }
    return list;
}

}  // namespace bastion
