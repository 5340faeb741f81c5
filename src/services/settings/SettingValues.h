// The text forms settings are stored in, and the readers that convert them
// back. Every value is a string: "0"/"1" for check boxes, "True"/"False" for
// option buttons and flags, decimal text for numbers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bastion::services {

// The whole text as a number (surrounding blanks allowed, a decimal point
// allowed); a fraction is rounded to the nearest whole number, halves to the
// even one, so a column width stored as "1234.5" reads as 1234. nullopt when
// the text is not a number or does not fit.
std::optional<long long> ParseSettingNumber(std::string_view text);

// "True" and "False" in any case; numeric text is true when not zero.
// nullopt for anything else.
std::optional<bool> ParseSettingTruth(std::string_view text);

// "True" / "False".
std::string_view TruthText(bool value);
// "1" / "0", the stored state of a check box.
std::string_view CheckText(bool value);

}  // namespace bastion::services
