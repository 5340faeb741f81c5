// Where the update requests go: the definition server's base address (the
// build's, unless the user's "DefinitionServer" setting names a mirror), the
// request addresses built on it, and the vendor-site addresses that Shift
// with "Update Now" lists.
#pragma once

#include <string>
#include <string_view>

#include "services/identity/Identity.h"
#include "services/settings/SettingsStore.h"

namespace bastion {

std::string DefinitionServerBase(const services::SettingsStore& settings);
// The language server's base address: the build's, unless the user's
// "LanguageServer" setting names a mirror.
std::string LanguageServerBase(const services::SettingsStore& settings);

// base and path with exactly one "/" between them.
std::string JoinUrl(std::string_view base, std::string_view path);

// Every byte outside the unreserved characters (letters, digits, "-", ".",
// "_", "~") as "%" and two hexadecimal digits; a blank is "%20".
std::string PercentEncode(std::string_view value);

std::string CurrentDateUrl(std::string_view base, const services::Identity& identity);
std::string DeltaUrl(std::string_view base, const services::Identity& identity, std::string_view localDate);
std::string NewDateUrl(std::string_view base);
// The newest translation file: "/Languages/" + branding number +
// "/Localization.txt".
std::string LanguageFileUrl(std::string_view base, const services::Identity& identity);

// "http://" and the website's host with "www." in front, or the fallback
// site when the build names no website.
std::string VendorSiteBase(const services::Identity& identity);
// The eight vendor-site addresses, each followed by CR LF.
std::string UpdateAddressList(const services::Identity& identity);

}  // namespace bastion
