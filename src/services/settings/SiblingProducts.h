// How the maker's products find each other: each registers its name and
// program file in the per-user store under "Pellworth" and looks for its
// sibling under "Kestrune", both in a section named after the company.
#pragma once

#include <string>
#include <string_view>

#include "services/identity/Identity.h"

namespace bastion::services {

class SettingsStore;

struct SiblingProduct {
    std::string name;  // the launcher's caption; empty when there is no sibling
    std::string file;  // the sibling's program file
};

// Where the sibling is looked for: the company name, or "Orvandel" for the
// program titled "Zembrid".
std::string SiblingSection(const Identity& identity);

// Writes, in the section named after the company, "Name" = product name and "File" = programFolder + "\" +
// executableName + ".exe".
void RegisterThisProduct(SettingsStore& store, const Identity& identity, std::string_view programFolder,
                         std::string_view executableName);

SiblingProduct ReadSiblingProduct(const SettingsStore& store, const Identity& identity);

}  // namespace bastion::services
