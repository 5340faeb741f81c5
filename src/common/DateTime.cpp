#include "common/DateTime.h"

#include <cstdio>

namespace bastion {

namespace {

constexpr long long kSecondsPerDay = 86400;

// The earliest and latest years a stored date can carry.
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's
// days_from_civil).
long long DaysFromCivil(long long year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(long long days, DateTime& out) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    out.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    out.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    out.year = static_cast<int>(yearOfEra + era * 400 + (out.month <= 2 ? 1 : 0));
}

long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

long long SecondOfDay(const DateTime& value) {
    return value.hour * 3600LL + value.minute * 60LL + value.second;
}

// Reads the general date text left to right.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    std::size_t Position() const { return pos_; }
    void Rewind(std::size_t pos) { pos_ = pos; }

    bool Accept(char c) {
        if (Peek() != c) return false;
        ++pos_;
        return true;
    }

    std::size_t SkipBlanks() {
        const std::size_t start = pos_;
        while (Peek() == ' ') ++pos_;
        return pos_ - start;
    }

    // A number of minDigits to maxDigits decimal digits.
    bool Number(int minDigits, int maxDigits, int& value, int* digitCount = nullptr) {
        int digits = 0;
        int result = 0;
        while (digits < maxDigits && Peek() >= '0' && Peek() <= '9') {
            result = result * 10 + (Peek() - '0');
            ++pos_;
            ++digits;
        }
        if (digits < minDigits || (Peek() >= '0' && Peek() <= '9')) return false;
        value = result;
        if (digitCount != nullptr) *digitCount = digits;
        return true;
    }

    // "AM" or "PM" in any letter case; 'A' or 'P' through marker.
    bool Meridiem(char& marker) {
        if (pos_ + 2 > text_.size()) return false;
        const char first = static_cast<char>(text_[pos_] & ~0x20);
        const char second = static_cast<char>(text_[pos_ + 1] & ~0x20);
        if ((first != 'A' && first != 'P') || second != 'M') return false;
        marker = first;
        pos_ += 2;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool ReadDate(Reader& reader, DateTime& value) {
    int digits = 0;
    if (!reader.Number(1, 2, value.month) || !reader.Accept('/') || !reader.Number(1, 2, value.day) ||
        !reader.Accept('/') || !reader.Number(1, 4, value.year, &digits)) {
        return false;
    }
    // Two-digit years as the system reads them by default: 30-99 in the
    // twentieth century, 00-29 in the twenty-first.
    if (digits <= 2) value.year += value.year < 30 ? 2000 : 1900;
    return true;
}

bool ReadTime(Reader& reader, DateTime& value) {
    if (!reader.Number(1, 2, value.hour) || !reader.Accept(':') || !reader.Number(1, 2, value.minute)) {
        return false;
    }
    value.second = 0;
    if (reader.Accept(':') && !reader.Number(1, 2, value.second)) return false;

    const std::size_t beforeBlanks = reader.Position();
    reader.SkipBlanks();
    char marker = 0;
    if (!reader.Meridiem(marker)) {
        reader.Rewind(beforeBlanks);
        return true;
    }
    if (value.hour < 1 || value.hour > 12) return false;
    value.hour %= 12;
    if (marker == 'P') value.hour += 12;
    return true;
}

}  // namespace

bool IsValid(const DateTime& value) {
    return value.year >= kFirstYear && value.year <= kLastYear && value.month >= 1 && value.month <= 12 &&
           value.day >= 1 && value.day <= DaysInMonth(value.year, value.month) && value.hour >= 0 &&
           value.hour <= 23 && value.minute >= 0 && value.minute <= 59 && value.second >= 0 &&
           value.second <= 59;
}

int DayOfWeek(const DateTime& value) {
    const long long days = DaysFromCivil(value.year, value.month, value.day);
    // 1970-01-01 was a Thursday.
    return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

std::string FormatGeneralDate(const DateTime& value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d/%d/%04d", value.month, value.day, value.year);
    if (value.hour == 0 && value.minute == 0 && value.second == 0) return buffer;
    return std::string(buffer) + " " + FormatGeneralTime(value);
}

std::string FormatGeneralTime(const DateTime& value) {
    char buffer[32];
    const int hour12 = value.hour % 12 == 0 ? 12 : value.hour % 12;
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", hour12, value.minute, value.second,
                  value.hour < 12 ? "AM" : "PM");
    return buffer;
}

std::optional<DateTime> ParseGeneralDate(std::string_view text) {
    Reader reader(text);
    reader.SkipBlanks();
    DateTime value;
    const std::size_t start = reader.Position();
    if (ReadDate(reader, value)) {
        if (reader.SkipBlanks() > 0 && !reader.AtEnd() && !ReadTime(reader, value)) return std::nullopt;
    } else {
        // A time alone stands for that time on the zero date, as the general
        // date form writes a time without a day.
        reader.Rewind(start);
        value = DateTime{};
        if (!ReadTime(reader, value)) return std::nullopt;
    }
    reader.SkipBlanks();
    if (!reader.AtEnd() || !IsValid(value)) return std::nullopt;
    return value;
}

std::string FormatTimeOfDay(const DateTime& value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", value.hour, value.minute, value.second);
    return buffer;
}

std::string FormatDayMonthYear(const DateTime& value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", value.day, value.month, value.year);
    return buffer;
}

long long SecondsBetween(const DateTime& a, const DateTime& b) {
    const long long days =
        DaysFromCivil(b.year, b.month, b.day) - DaysFromCivil(a.year, a.month, a.day);
    return days * kSecondsPerDay + SecondOfDay(b) - SecondOfDay(a);
}

DateTime AddSeconds(const DateTime& value, long long seconds) {
    // Whole days and the rest are split before adding, so a large count cannot
    // overflow the sum.
    long long days = DaysFromCivil(value.year, value.month, value.day) + FloorDiv(seconds, kSecondsPerDay);
    long long secondOfDay = SecondOfDay(value) + (seconds - FloorDiv(seconds, kSecondsPerDay) * kSecondsPerDay);
    days += FloorDiv(secondOfDay, kSecondsPerDay);
    secondOfDay -= FloorDiv(secondOfDay, kSecondsPerDay) * kSecondsPerDay;

    DateTime result;
    CivilFromDays(days, result);
    result.hour = static_cast<int>(secondOfDay / 3600);
    result.minute = static_cast<int>(secondOfDay / 60 % 60);
    result.second = static_cast<int>(secondOfDay % 60);
    return result;
}

}  // namespace bastion
