// The scheduler against a clock the test moves: which moments start a
// scan, over a week of ticks, when ticks are missed, and when the clock
// itself jumps.
#include "scheduler/Scheduler.h"

#include <gtest/gtest.h>

#include <vector>

#include "services/settings/SettingKeys.h"
#include "support/FakeClock.h"
#include "support/FakeRegistry.h"

namespace bastion {
namespace {

namespace keys = services::settings;

DateTime Time(int hour, int minute, int second = 0) { return DateTime{1899, 12, 30, hour, minute, second}; }
DateTime Day(int year, int month, int day) { return DateTime{year, month, day, 0, 0, 0}; }
Schedule Enabled(int day, std::optional<DateTime> time, std::optional<DateTime> date = std::nullopt) {
    return Schedule{true, day, time, date};
}

struct SchedulerTest : ::testing::Test {
    // The clock starts on Thursday 16 March 2006, at midnight.
    SchedulerTest() {
        clock.Set(DateTime{2006, 3, 16, 0, 0, 0});
        scheduler.onMissed = [this](const DateTime& moment) { missed.push_back(moment); };
    }

    void Use(int day, std::optional<DateTime> time, std::optional<DateTime> date = std::nullopt) {
        scheduler.SetSchedule(Enabled(day, time, date));
    }
    // Ticks every stepSeconds until the clock has moved by seconds.
    void RunFor(long long seconds, long long stepSeconds = 1) {
        for (long long passed = 0; passed < seconds; passed += stepSeconds) {
            clock.Advance(stepSeconds);
            scheduler.CheckSchedule();
        }
    }

    testing::FakeClock clock;
    services::OperationGate gate;
    std::vector<DateTime> started;
    std::vector<DateTime> missed;
    Scheduler scheduler{clock, gate, [this] { started.push_back(clock.now); }};
};

TEST_F(SchedulerTest, AWeekOfTicksStartsOneScanPerOccurrenceOnTheRightDays) {
    struct Case {
        const char* name;
        Schedule schedule;
        std::vector<int> daysOfMarch;
    };
    const Case cases[] = {
        {"Daily", Enabled(kScheduleDaily, Time(14, 30)), {16, 17, 18, 19, 20, 21, 22, 23}},
        {"Monday", Enabled(0, Time(9, 0)), {20}},
        {"Wednesday", Enabled(2, Time(9, 0)), {22}},
        {"Thursday", Enabled(3, Time(23, 59, 30)), {16, 23}},
        {"Sunday", Enabled(kScheduleSunday, Time(0, 0)), {19}},
        {"Date & Time", Enabled(kScheduleDateAndTime, Time(8, 15), Day(2006, 3, 18)), {18}},
        {"a date gone by", Enabled(kScheduleDateAndTime, Time(8, 15), Day(2006, 3, 1)), {}},
        {"Date & Time without a date", Enabled(kScheduleDateAndTime, Time(8, 15)), {}},
        {"Never", Enabled(kScheduleNever, Time(14, 30)), {}},
        {"Daily without a time", Enabled(kScheduleDaily, std::nullopt), {}},
        {"switched off", Schedule{false, kScheduleDaily, Time(14, 30), std::nullopt}, {}},
    };
    for (const Case& each : cases) {
        clock.Set(DateTime{2006, 3, 16, 0, 0, 0});
        started.clear();
        scheduler.SetSchedule(each.schedule);
        // Ticks of 29 seconds land on few of the scheduled seconds: the
        // occurrences between two ticks still start their scan.
        RunFor(8 * 86400, 29);
        std::vector<int> days;
        for (const DateTime& at : started) {
            days.push_back(at.day);
            const long long late = SecondsBetween(DateTime{at.year, at.month, at.day, each.schedule.time->hour,
                                                           each.schedule.time->minute, each.schedule.time->second},
                                                  at);
            EXPECT_TRUE(late >= 0 && late < 29) << each.name << " started " << late << " s late";
        }
        EXPECT_EQ(days, each.daysOfMarch) << each.name;
    }
}

TEST_F(SchedulerTest, AScanShorterThanASecondIsNotStartedAgainWithinItsSecond) {
    Use(kScheduleDaily, Time(0, 0, 5));
    RunFor(5);
    for (int tick = 0; tick < 20; ++tick) scheduler.CheckSchedule();
    RunFor(60);
    EXPECT_EQ(started.size(), 1u);
}

TEST_F(SchedulerTest, MissedTicksCatchUpWithinTheGracePeriodOnly) {
    Use(kScheduleDaily, Time(0, 1));
    // An operation holds the scheduler from before the occurrence to 9
    // minutes after it: the scan starts when it has ended.
    {
        auto operation = gate.TryBegin("scan");
        RunFor(10 * 60);
    }
    EXPECT_TRUE(started.empty());
    scheduler.CheckSchedule();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (DateTime{2006, 3, 16, 0, 10, 0}));

    // A day later the machine sleeps through the occurrence, for an hour.
    started.clear();
    RunFor(86400 - 20 * 60);
    clock.Advance(3600);
    scheduler.CheckSchedule();
    RunFor(600);
    EXPECT_TRUE(started.empty()) << "an hour late is too late";
    EXPECT_EQ(missed, (std::vector<DateTime>{DateTime{2006, 3, 17, 0, 1, 0}})) << "and said, once";

    // Held off by a window left open over the moment for half an hour.
    missed.clear();
    {
        auto operation = gate.TryBegin("scan");
        RunFor(86400);
    }
    RunFor(60);
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(missed, (std::vector<DateTime>{DateTime{2006, 3, 18, 0, 1, 0}}));
}

TEST_F(SchedulerTest, AMomentThatPassedWhileTheProgramWasNotRunningIsReportedMissedAtTheNextStart) {
    Use(kScheduleDaily, Time(0, 1));
    // Ended on the 14th at noon, started again on the 16th at midnight:
    // the latest moment in between is said.
    scheduler.CatchUp(DateTime{2006, 3, 14, 12, 0, 0});
    EXPECT_EQ(missed, (std::vector<DateTime>{DateTime{2006, 3, 15, 0, 1, 0}}));
    EXPECT_TRUE(started.empty());
    // Nothing since the last look: nothing said; switched off: nothing.
    missed.clear();
    scheduler.CatchUp(DateTime{2006, 3, 15, 23, 0, 0});
    scheduler.SetSchedule(Schedule{false, kScheduleDaily, Time(0, 1), std::nullopt});
    scheduler.CatchUp(DateTime{2006, 3, 1, 0, 0, 0});
    EXPECT_TRUE(missed.empty());
}

TEST_F(SchedulerTest, ClockChangesStartNothingTwiceAndLoseNothing) {
    Use(kScheduleDaily, Time(2, 30));
    // Daylight-saving time begins: 02:00 becomes 03:00, 02:30 never comes.
    RunFor(2 * 3600 - 1);
    clock.ChangeOffset(3600);
    RunFor(60);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (DateTime{2006, 3, 16, 3, 0, 0}));

    // It ends: 03:00 becomes 02:00 again and 02:30 comes twice; one scan.
    clock.Set(DateTime{2006, 3, 17, 2, 0, 0});
    scheduler.CheckSchedule();
    RunFor(3600);
    clock.ChangeOffset(-3600);
    RunFor(2 * 3600);
    EXPECT_EQ(started.size(), 2u);

    // The user puts the clock back an hour after the scan: not again.
    clock.Set(DateTime{2006, 3, 18, 2, 31, 0});
    scheduler.CheckSchedule();
    EXPECT_EQ(started.size(), 3u);
    clock.Set(DateTime{2006, 3, 18, 1, 31, 0});
    RunFor(2 * 3600, 5);
    EXPECT_EQ(started.size(), 3u);

    // A wrong date corrected by days: the schedule goes on from there.
    clock.Set(DateTime{2006, 3, 10, 0, 0, 0});
    RunFor(86400, 5);
    EXPECT_EQ(started.size(), 4u);
    EXPECT_EQ(started.back().day, 10);
}

TEST_F(SchedulerTest, TheStoredScheduleReadsItsDayByNumberAndAnUnreadableDayAsNone) {
    testing::FakeRegistry registry;
    services::SettingsStore settings{registry, "Testwall"};
    EXPECT_EQ(LoadSchedule(settings), (Schedule{false, kScheduleDaily, std::nullopt, std::nullopt}));

    settings.Write(keys::kChkAutomaticScanYesOrNo, "1");
    settings.Write(keys::kTime, "3/16/2006 2:30:00 PM");
    settings.Write(keys::kDate, "Null");
    for (auto [stored, day] : std::initializer_list<std::pair<const char*, int>>{
             {"2", 2}, {" 8 ", 8}, {"Wednesday", kScheduleNever}, {"10", kScheduleNever}, {"-1", kScheduleNever}}) {
        settings.Write(keys::kDay, stored);
        const Schedule schedule = LoadSchedule(settings);
        EXPECT_EQ(schedule.day, day) << stored;
        EXPECT_EQ(schedule.time, (DateTime{2006, 3, 16, 14, 30, 0}));
        EXPECT_FALSE(schedule.date);
    }
    // Weekdays by number, whatever the system calls them: Monday first.
    EXPECT_EQ(WeekdayPosition(Day(2006, 3, 20)), 0);
    EXPECT_EQ(WeekdayPosition(Day(2006, 3, 19)), 6);
}

}  // namespace
}  // namespace bastion
