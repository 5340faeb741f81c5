#include "services/identity/Identity.h"

#include "BuildIdentity.h"
#include "common/Text.h"

namespace bastion::services {

namespace {
constexpr std::string_view kProgramNamePlaceholder = "[ProgramName]";
constexpr std::string_view kCompanyNamePlaceholder = "[CompanyName]";
constexpr std::string_view kWebsitePlaceholder = "[Website]";
}  // namespace

std::string Identity::VersionText() const { return ToDecimal(versionMajor) + "." + ToDecimal(versionMinor); }

Identity BuildIdentity() {
    Identity identity;
    identity.productName = build::kProductName;
    identity.companyName = build::kCompanyName;
    identity.website = build::kWebsite;
    identity.programTitle = build::kProductName;
    identity.versionMajor = build::kVersionMajor;
    identity.versionMinor = build::kVersionMinor;
    return identity;
}

std::string ReplaceMessagePlaceholders(std::string_view text, const Identity& identity) {
    std::string result = ReplaceAllIgnoreCase(text, kProgramNamePlaceholder, identity.productName);
    return ReplaceAllIgnoreCase(result, kCompanyNamePlaceholder, identity.companyName);
}

std::string ReplaceCaptionPlaceholders(std::string_view text, const Identity& identity) {
    return ReplaceAllIgnoreCase(ReplaceMessagePlaceholders(text, identity), kWebsitePlaceholder,
                                identity.website);
}

}  // namespace bastion::services
