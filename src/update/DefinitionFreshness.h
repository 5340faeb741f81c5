// Whether the definitions are known to be current. A program with the
// vendor's key keeps the time (UTC) of the last date answer it verified; a
// week without one means the server could not be reached, or someone on
// the way keeps answering for it, and the user is told, on the home page
// and once a day above the notification area.
#pragma once

#include <optional>
#include <string>

#include "common/DateTime.h"
#include "services/messages/MessageCatalogue.h"
#include "services/settings/SettingsStore.h"

namespace bastion {

// Keeps the time of a verified date answer.
void RecordConfirmation(services::SettingsStore& settings, const DateTime& utc);

// Since when (UTC) the definitions have not been confirmed as current, when
// that is a week or more before now; nullopt while they have been. A
// program that never kept a time starts counting now.
std::optional<DateTime> UnconfirmedSince(services::SettingsStore& settings, const DateTime& nowUtc);

// The daily notice: due when none was shown in the last day; kept as shown.
bool NoticeDue(const services::SettingsStore& settings, const DateTime& nowUtc);
void RecordNotice(services::SettingsStore& settings, const DateTime& nowUtc);

// "Definitions could not be confirmed as current since <date>." in the
// user's language, the date being the local day of since.
std::string UnconfirmedText(const services::MessageCatalogue& messages, const DateTime& sinceLocal);

}  // namespace bastion
