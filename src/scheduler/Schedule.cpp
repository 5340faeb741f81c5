#include "scheduler/Schedule.h"

#include "common/Text.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

namespace keys = services::settings;

namespace {

constexpr long long kSecondsPerDay = 86400;
// A weekly schedule meets its day within a week; a longer look back finds
// nothing new.
constexpr int kDaysLookedBack = 7;

DateTime At(const DateTime& day, const DateTime& timeOfDay) {
    return DateTime{day.year, day.month, day.day, timeOfDay.hour, timeOfDay.minute, timeOfDay.second};
}

bool Within(const DateTime& moment, const DateTime& after, const DateTime& upTo) {
    return after < moment && moment <= upTo;
}

}  // namespace

std::string ScheduleValueText(const std::optional<DateTime>& value) {
    if (!value) return std::string(keys::kNull);
    // The time picker's value carries the zero date: the time alone.
    if (value->year == DateTime{}.year && value->month == DateTime{}.month && value->day == DateTime{}.day) {
        return FormatGeneralTime(*value);
    }
    return FormatGeneralDate(*value);
}

std::optional<DateTime> ScheduleValueFromText(std::string_view text) { return ParseGeneralDate(text); }

Schedule LoadSchedule(const services::SettingsStore& settings) {
    Schedule schedule;
    schedule.enabled = settings.ReadNumber(keys::kChkAutomaticScanYesOrNo) != 0;
    long long day = kScheduleNever;
    if (ParseWholeNumber(settings.Read(keys::kDay), day) && day >= kScheduleMonday && day <= kScheduleNever) {
        schedule.day = static_cast<int>(day);
    }
    schedule.time = ScheduleValueFromText(settings.Read(keys::kTime));
    schedule.date = ScheduleValueFromText(settings.Read(keys::kDate));
    return schedule;
}

int WeekdayPosition(const DateTime& date) {
    // DayOfWeek counts from Sunday.
    return (DayOfWeek(date) + 6) % 7;
}

std::optional<DateTime> LatestOccurrence(const Schedule& schedule, const DateTime& after, const DateTime& upTo) {
    if (!schedule.time || !(after < upTo)) return std::nullopt;
    if (schedule.day == kScheduleDateAndTime) {
        if (!schedule.date) return std::nullopt;
        const DateTime moment = At(*schedule.date, *schedule.time);
        return Within(moment, after, upTo) ? std::optional(moment) : std::nullopt;
    }
    if (schedule.day > kScheduleDaily) return std::nullopt;
    // From the day of upTo back to the day of after, at most a week.
    DateTime day = upTo;
    for (int back = 0; back <= kDaysLookedBack; ++back, day = AddSeconds(day, -kSecondsPerDay)) {
        const DateTime moment = At(day, *schedule.time);
        if (!(after < moment)) break;
        if (moment > upTo) continue;
        if (schedule.day == kScheduleDaily || WeekdayPosition(moment) == schedule.day) return moment;
    }
    return std::nullopt;
}

}  // namespace bastion
