#include "update/DefinitionFreshness.h"

#include "common/Text.h"
#include "services/messages/MessageKeys.h"
#include "services/settings/SettingKeys.h"
#include "update/SignedAnswer.h"

namespace bastion {

namespace {

namespace keys = services::settings;

constexpr long long kDaySeconds = 24 * 60 * 60;
constexpr long long kUnconfirmedAfter = 7 * kDaySeconds;

}  // namespace

void RecordConfirmation(services::SettingsStore& settings, const DateTime& utc) {
    settings.Write(keys::kDefinitionsConfirmed, FormatUtcTime(utc));
}

std::optional<DateTime> UnconfirmedSince(services::SettingsStore& settings, const DateTime& nowUtc) {
    const std::optional<DateTime> confirmed = ParseUtcTime(settings.Read(keys::kDefinitionsConfirmed));
    if (!confirmed) {
        RecordConfirmation(settings, nowUtc);
        return std::nullopt;
    }
    if (SecondsBetween(*confirmed, nowUtc) < kUnconfirmedAfter) return std::nullopt;
    return confirmed;
}

bool NoticeDue(const services::SettingsStore& settings, const DateTime& nowUtc) {
    const std::optional<DateTime> shown = ParseUtcTime(settings.Read(keys::kDefinitionsNotice));
    // A notice "shown" in the future (a clock set back) is due too.
    return !shown || SecondsBetween(*shown, nowUtc) >= kDaySeconds || *shown > nowUtc;
}

void RecordNotice(services::SettingsStore& settings, const DateTime& nowUtc) {
    settings.Write(keys::kDefinitionsNotice, FormatUtcTime(nowUtc));
}

std::string UnconfirmedText(const services::MessageCatalogue& messages, const DateTime& sinceLocal) {
    const DateTime day{sinceLocal.year, sinceLocal.month, sinceLocal.day, 0, 0, 0};
    return ReplaceAll(messages.getMessages(services::msg::kDefinitionsUnconfirmed), "[Date]", FormatGeneralDate(day));
}

}  // namespace bastion
