// Calendar date and time of day, and the fixed texts in which dates are
// stored and sent: the United States general date ("3/16/2006 12:00:00 AM",
// the time left out at midnight), and the "hh:mm:ss" and "dd/MM/yyyy" forms
// the scheduler compares.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bastion {

struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend auto operator<=>(const DateTime&, const DateTime&) = default;
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// A real calendar date in the years 100 to 9999 with a time of day.
bool IsValid(const DateTime& value);

// 0 = Sunday ... 6 = Saturday.
int DayOfWeek(const DateTime& value);

// "3/16/2006 1:05:09 PM"; "3/16/2006" when the time is exactly midnight.
std::string FormatGeneralDate(const DateTime& value);
// The time part of that form alone, "1:05:09 PM": how a time of day (a
// value on the zero date) is written.
std::string FormatGeneralTime(const DateTime& value);

// Reads the general date text back: "M/D/YYYY", optionally followed by a time
// "h:mm[:ss] AM|PM" or a 24-hour "H:mm[:ss]". Surrounding blanks allowed.
// A one- or two-digit year means 1930-2029; a time alone means that time on
// the default (zero) date. Empty when the text is not a valid date.
std::optional<DateTime> ParseGeneralDate(std::string_view text);

// "13:05:09" (24-hour, two digits each).
std::string FormatTimeOfDay(const DateTime& value);
// "16/03/2006".
std::string FormatDayMonthYear(const DateTime& value);

// Whole seconds from a to b (negative when b is earlier).
long long SecondsBetween(const DateTime& a, const DateTime& b);
DateTime AddSeconds(const DateTime& value, long long seconds);

}  // namespace bastion
