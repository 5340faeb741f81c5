#include "common/DateTime.h"

#include <gtest/gtest.h>

namespace bastion {
namespace {

DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return DateTime{year, month, day, hour, minute, second};
}

TEST(GeneralDateTest, FormatsUnitedStatesGeneralDate) {
    EXPECT_EQ(FormatGeneralDate(At(2006, 3, 16)), "3/16/2006");
    EXPECT_EQ(FormatGeneralDate(At(2006, 3, 16, 13, 5, 9)), "3/16/2006 1:05:09 PM");
    EXPECT_EQ(FormatGeneralDate(At(2006, 3, 16, 12, 0, 0)), "3/16/2006 12:00:00 PM");
    EXPECT_EQ(FormatGeneralDate(At(2006, 3, 16, 0, 30, 0)), "3/16/2006 12:30:00 AM");
    EXPECT_EQ(FormatGeneralDate(At(2006, 3, 16, 0, 0, 1)), "3/16/2006 12:00:01 AM");
    EXPECT_EQ(FormatGeneralDate(At(2007, 11, 5, 9, 0, 0)), "11/5/2007 9:00:00 AM");
}

TEST(GeneralDateTest, ParsesWhatItWritesBack) {
    for (const DateTime& value : {At(2006, 3, 16), At(2006, 3, 16, 12), At(2006, 3, 16, 0, 30),
                                  At(2006, 3, 16, 23, 59, 59), At(2000, 2, 29, 1, 2, 3), At(1899, 12, 30),
                                  At(9999, 12, 31, 23, 59, 59)}) {
        const auto parsed = ParseGeneralDate(FormatGeneralDate(value));
        ASSERT_TRUE(parsed.has_value()) << FormatGeneralDate(value);
        EXPECT_EQ(*parsed, value) << FormatGeneralDate(value);
    }
}

TEST(GeneralDateTest, AcceptsTheVariantsOfTheGeneralDateText) {
    EXPECT_EQ(ParseGeneralDate("3/16/2006 12:00:00 AM"), At(2006, 3, 16));
    EXPECT_EQ(ParseGeneralDate("  3/16/2006 1:05 pm  "), At(2006, 3, 16, 13, 5));
    EXPECT_EQ(ParseGeneralDate("3/16/2006 1:05:09Pm"), At(2006, 3, 16, 13, 5, 9));
    EXPECT_EQ(ParseGeneralDate("3/16/2006 12:30 am"), At(2006, 3, 16, 0, 30));
    EXPECT_EQ(ParseGeneralDate("03/06/2006 13:05:09"), At(2006, 3, 6, 13, 5, 9));
    EXPECT_EQ(ParseGeneralDate("3/16/2006 0:00"), At(2006, 3, 16));
    EXPECT_EQ(ParseGeneralDate("3/16/06"), At(2006, 3, 16));
    EXPECT_EQ(ParseGeneralDate("3/16/99"), At(1999, 3, 16));
    EXPECT_EQ(ParseGeneralDate("2:30:00 PM"), At(1899, 12, 30, 14, 30));
}

TEST(GeneralDateTest, RejectsTextThatIsNotAValidDate) {
    for (const char* bad : {"", "   ", "garbage", "2/30/2006", "2/29/2005", "13/1/2006", "0/1/2006", "3/16/2006 25:00",
                            "3/16/2006 12:60", "3/16/2006 13:00 PM", "3/16/2006 0:30 AM", "3/16/2006 x",
                            "3/16/2006 1:05 PM junk", "3/16/2006x", "3/16", "3-16-2006", "3/16/20061",
                            "3/16/2006 1:", "\t3/16/2006"}) {
        EXPECT_FALSE(ParseGeneralDate(bad).has_value()) << '"' << bad << '"';
    }
}

TEST(GeneralDateTest, ComparesChronologically) {
    const auto local = ParseGeneralDate("3/16/2006");
    const auto server = ParseGeneralDate("3/16/2006 12:00:01 AM");
    ASSERT_TRUE(local && server);
    EXPECT_LT(*local, *server);
    EXPECT_LT(At(2006, 12, 31, 23), At(2007, 1, 1));
}

TEST(ScheduleFormTest, TimeOfDayAndDayMonthYear) {
    EXPECT_EQ(FormatTimeOfDay(At(2006, 3, 16, 13, 5, 9)), "13:05:09");
    EXPECT_EQ(FormatTimeOfDay(At(2006, 3, 16)), "00:00:00");
    EXPECT_EQ(FormatDayMonthYear(At(2006, 3, 16, 13, 5, 9)), "16/03/2006");
    EXPECT_EQ(FormatDayMonthYear(At(2007, 11, 5)), "05/11/2007");
}

TEST(CalendarTest, DayOfWeek) {
    EXPECT_EQ(DayOfWeek(At(2006, 3, 16)), 4);   // Thursday
    EXPECT_EQ(DayOfWeek(At(1970, 1, 1)), 4);    // Thursday
    EXPECT_EQ(DayOfWeek(At(2000, 2, 29)), 2);   // Tuesday
    EXPECT_EQ(DayOfWeek(At(1899, 12, 30)), 6);  // Saturday
    EXPECT_EQ(DayOfWeek(At(2024, 1, 7)), 0);    // Sunday
    EXPECT_EQ(DayOfWeek(At(1600, 1, 1)), 6);    // Saturday
}

TEST(CalendarTest, ValidityFollowsTheGregorianCalendar) {
    EXPECT_TRUE(IsValid(At(2000, 2, 29)));
    EXPECT_TRUE(IsValid(At(2004, 2, 29)));
    EXPECT_FALSE(IsValid(At(1900, 2, 29)));
    EXPECT_FALSE(IsValid(At(2006, 4, 31)));
    EXPECT_FALSE(IsValid(At(2006, 1, 1, 24)));
    EXPECT_FALSE(IsValid(At(2006, 1, 1, 0, 0, 60)));
    EXPECT_TRUE(IsValid(DateTime{}));
}

TEST(CalendarTest, SecondsArithmeticAcrossBoundaries) {
    EXPECT_EQ(SecondsBetween(At(2006, 3, 16), At(2006, 3, 16, 0, 0, 1)), 1);
    EXPECT_EQ(SecondsBetween(At(2006, 3, 16, 0, 0, 1), At(2006, 3, 16)), -1);
    EXPECT_EQ(SecondsBetween(At(2006, 12, 31, 23, 59, 59), At(2007, 1, 1)), 1);
    EXPECT_EQ(SecondsBetween(At(2004, 2, 28), At(2004, 3, 1)), 2 * 86400);
    EXPECT_EQ(SecondsBetween(At(2005, 2, 28), At(2005, 3, 1)), 86400);
    EXPECT_EQ(SecondsBetween(At(2000, 1, 1), At(2001, 1, 1)), 366LL * 86400);

    EXPECT_EQ(AddSeconds(At(2006, 12, 31, 23, 59, 59), 1), At(2007, 1, 1));
    EXPECT_EQ(AddSeconds(At(2007, 1, 1), -1), At(2006, 12, 31, 23, 59, 59));
    EXPECT_EQ(AddSeconds(At(2004, 2, 28, 12), 86400), At(2004, 2, 29, 12));
    EXPECT_EQ(AddSeconds(At(2004, 3, 1, 0, 0, 30), -86400 - 60), At(2004, 2, 28, 23, 59, 30));
    EXPECT_EQ(AddSeconds(At(1900, 2, 28), 86400), At(1900, 3, 1));

    const DateTime start = At(2006, 3, 16, 13, 5, 9);
    for (long long seconds : {0LL, 59LL, 3600LL, -86399LL, 400LL * 86400 + 7, -10000LL * 86400}) {
        EXPECT_EQ(SecondsBetween(start, AddSeconds(start, seconds)), seconds) << seconds;
    }
}

}  // namespace
}  // namespace bastion
