#include "update/DefinitionFreshness.h"

#include "common/Text.h"
#include "ui/MessageKeys.h"
#include "ui/settings/SettingKeys.h"
#include "update/SignedAnswer.h"

namespace bastion {

namespace {

namespace keys = ui::settings;

constexpr long long kDaySeconds = 24 * 60 * 60;
constexpr long long kUnconfirmedAfter = 7 * kDaySeconds;

}  // namespace

void RecordConfirmation(ui::SettingsStore& settings, const DateTime& utc) {
    settings.Write(keys::kDefinitionsConfirmed, FormatUtcTime(utc));
}

std::optional<DateTime> UnconfirmedSince(ui::SettingsStore& settings, const DateTime& nowUtc) {
    const std::optional<DateTime> confirmed = ParseUtcTime(settings.Read(keys::kDefinitionsConfirmed));
    if (!confirmed) {
        RecordConfirmation(settings, nowUtc);
        return std::nullopt;
    }
    if (SecondsBetween(*confirmed, nowUtc) < kUnconfirmedAfter) return std::nullopt;
    return confirmed;
}

bool NoticeDue(const ui::SettingsStore& settings, const DateTime& nowUtc) {
    const std::optional<DateTime> shown = ParseUtcTime(settings.Read(keys::kDefinitionsNotice));
    // A notice "shown" in the future (a clock set back) is due too.
    return !shown || SecondsBetween(*shown, nowUtc) >= kDaySeconds || *shown > nowUtc;
}

void RecordNotice(ui::SettingsStore& settings, const DateTime& nowUtc) {
    settings.Write(keys::kDefinitionsNotice, FormatUtcTime(nowUtc));
}

std::string UnconfirmedText(const ui::MessageCatalogue& messages, const DateTime& sinceLocal) {
    const DateTime day{sinceLocal.year, sinceLocal.month, sinceLocal.day, 0, 0, 0};
    return ReplaceAll(messages.getMessages(ui::msg::kDefinitionsUnconfirmed), "[Date]", FormatGeneralDate(day));
}

}  // namespace bastion
