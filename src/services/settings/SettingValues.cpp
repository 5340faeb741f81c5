#include "services/settings/SettingValues.h"

#include <charconv>
#include <cmath>

#include "common/Rounding.h"
#include "common/Text.h"
#include "services/settings/SettingKeys.h"

namespace bastion::services {

namespace {

// Plain decimal text, optionally signed and with a fraction: "12", "-3",
// "1234.5". from_chars alone would also take "inf" and "nan".
std::optional<double> ParseDecimal(std::string_view text) {
    const std::string body = Trim(text);
    std::string_view digits = body;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
    if (digits.find_first_not_of("0123456789.") != std::string_view::npos ||
        digits.find_first_of("0123456789") == std::string_view::npos)
        return std::nullopt;
    const char* first = body.data() + (body.front() == '+' ? 1 : 0);
    const char* last = body.data() + body.size();
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

}  // namespace

std::optional<long long> ParseSettingNumber(std::string_view text) {
    long long whole = 0;
    if (ParseWholeNumber(text, whole)) return whole;
    const auto value = ParseDecimal(text);
    // Beyond this a double no longer converts to a long long.
    if (!value || !(std::fabs(*value) < 9.2e18)) return std::nullopt;
    return BankersRound(*value);
}

std::optional<bool> ParseSettingTruth(std::string_view text) {
    const std::string body = Trim(text);
    if (EqualsIgnoreCase(body, settings::kTrue)) return true;
    if (EqualsIgnoreCase(body, settings::kFalse)) return false;
    // "0.4" is not zero: the unrounded number decides.
    long long whole = 0;
    if (ParseWholeNumber(body, whole)) return whole != 0;
    if (const auto number = ParseDecimal(body)) return *number != 0;
    return std::nullopt;
}

std::string_view TruthText(bool value) { return value ? settings::kTrue : settings::kFalse; }

std::string_view CheckText(bool value) { return value ? settings::kChecked : settings::kUnchecked; }

}  // namespace bastion::services
