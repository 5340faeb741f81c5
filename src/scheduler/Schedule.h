// The schedule of the scheduled scans as the options page stores it: a
// position in the day list (a weekday, every day, one date, or never), a
// time of day and, for one date, that date. The scheduler holds it in
// memory; it is read at start and after "Apply".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/DateTime.h"
#include "services/settings/SettingsStore.h"

namespace bastion {

// Positions in the day list cmbDays: Monday (0) to Sunday (6), then these.
inline constexpr int kScheduleMonday = 0;
inline constexpr int kScheduleSunday = 6;
inline constexpr int kScheduleDaily = 7;
inline constexpr int kScheduleDateAndTime = 8;
inline constexpr int kScheduleNever = 9;

struct Schedule {
    // "chkAutomaticScanYesOrNo" reads as a number other than 0.
    bool enabled = false;
    // The day list position; kScheduleNever for a stored day that is not
    // one.
    int day = kScheduleNever;
    // Only its time of day counts.
    std::optional<DateTime> time;
    // Only its date counts, and only for kScheduleDateAndTime.
    std::optional<DateTime> date;

    friend bool operator==(const Schedule&, const Schedule&) = default;
};

// The schedule as stored. A missing "Day" is Daily (nothing runs without a
// time anyway); a "Day" that is not a position of the list is no schedule.
Schedule LoadSchedule(const services::SettingsStore& settings);

// How "Time" and "Date" are stored: the general date text, "Null" for
// none; a text that does not read as a date is none.
std::string ScheduleValueText(const std::optional<DateTime>& value);
std::optional<DateTime> ScheduleValueFromText(std::string_view text);

// The day list position of a date's weekday: 0 for Monday to 6 for Sunday,
// whatever language the system names the days in.
int WeekdayPosition(const DateTime& date);

// The latest moment in (after, upTo] at which the schedule starts a scan,
// by the local clock; nullopt when there is none (or upTo is not later).
// Whether the scheduled scans are enabled is not asked here.
std::optional<DateTime> LatestOccurrence(const Schedule& schedule, const DateTime& after, const DateTime& upTo);

}  // namespace bastion
