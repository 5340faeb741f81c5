// The language a first start offers before anybody has chosen one: the one
// of the translation file that matches the system's user-interface
// language, so that a German Windows opens in Deutsch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bastion::ui {

// German -> "Deutsch", Spanish -> "Español", anything else -> "English";
// English as well when the file does not offer the matching language.
std::string LanguageForUserInterface(std::uint16_t languageId, const std::vector<std::string>& offered);

}  // namespace bastion::ui
