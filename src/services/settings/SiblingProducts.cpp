#include "services/settings/SiblingProducts.h"

#include "services/settings/SettingKeys.h"
#include "services/settings/SettingsStore.h"

namespace bastion::services {

std::string SiblingSection(const Identity& identity) {
    if (identity.programTitle == settings::kSiblingAlternateTitle)
        return std::string(settings::kSiblingAlternateSection);
    return identity.companyName;
}

void RegisterThisProduct(SettingsStore& store, const Identity& identity, std::string_view programFolder,
                         std::string_view executableName) {
    // Registration always goes under the company name; only the look-up of
    // the sibling knows the other section.
    const std::string& section = identity.companyName;
    std::string file(programFolder);
    file += '\\';
    file += executableName;
    file += ".exe";
    store.WriteSetting(settings::kSiblingRegistryApplication, section, settings::kSiblingNameKey,
                       identity.productName);
    store.WriteSetting(settings::kSiblingRegistryApplication, section, settings::kSiblingFileKey, file);
}

SiblingProduct ReadSiblingProduct(const SettingsStore& store, const Identity& identity) {
    const std::string section = SiblingSection(identity);
    SiblingProduct sibling;
    sibling.name = store.ReadSetting(settings::kSiblingProductApplication, section, settings::kSiblingNameKey, "");
    sibling.file = store.ReadSetting(settings::kSiblingProductApplication, section, settings::kSiblingFileKey, "");
    return sibling;
}

}  // namespace bastion::services
