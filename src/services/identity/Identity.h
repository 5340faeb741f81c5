// Who the program is: the names it is issued under, read at start from the
// program file's own version resource, so that the same program carries
// another vendor's names by changing only that resource. Texts name the
// program through placeholders that are filled from here.
#pragma once

#include <string>
#include <string_view>

namespace bastion::services {

struct Identity {
    std::string productName;   // ProductName; also the settings application name
    std::string companyName;   // CompanyName
    std::string website;       // Comments
    // The application title, a build setting; only the sibling product
    // section depends on it.
    std::string programTitle;
    int versionMajor = 0;
    int versionMinor = 0;
    // Part of the language download path; this branding's number is 0.
    int brandingNumber = 0;

    // "4.2": what the home page and the about window show.
    std::string VersionText() const;
};

// The identity the build was configured with (the values the version
// resource is generated from); for a platform without version resources.
Identity BuildIdentity();

// Messages name the product and the company: every "[ProgramName]" and
// "[CompanyName]", matched ignoring case. "[Website]" stays as it is.
std::string ReplaceMessagePlaceholders(std::string_view text, const Identity& identity);

// Captions and translations also name the website ("[Website]").
std::string ReplaceCaptionPlaceholders(std::string_view text, const Identity& identity);

}  // namespace bastion::services
