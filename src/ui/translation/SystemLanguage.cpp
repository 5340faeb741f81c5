#include "ui/translation/SystemLanguage.h"

#include <algorithm>
#include <string_view>

#include "services/settings/SettingKeys.h"

namespace bastion::ui {

namespace {

// The primary language: the low ten bits of a language identifier.
constexpr std::uint16_t kPrimaryMask = 0x3ff;
constexpr std::uint16_t kGerman = 0x07;
constexpr std::uint16_t kSpanish = 0x0a;

}  // namespace

std::string LanguageForUserInterface(std::uint16_t languageId, const std::vector<std::string>& offered) {
    std::string_view name = services::settings::kEnglish;
    switch (languageId & kPrimaryMask) {
        case kGerman: name = "Deutsch"; break;
        case kSpanish: name = "Espa\xc3\xb1ol"; break;
        default: break;
    }
    if (std::find(offered.begin(), offered.end(), name) == offered.end()) name = services::settings::kEnglish;
    return std::string(name);
}

}  // namespace bastion::ui
