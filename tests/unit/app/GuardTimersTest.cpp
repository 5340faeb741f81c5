// The background timers of a running program against a clock the test
// moves: on a busy machine, where a program starts or ends every second or
// two, the memory shield looks at every change, and the home-page shield
// still gets its turn every five seconds.
#include <gtest/gtest.h>

#include "ShieldFixture.h"
#include "services/settings/SettingKeys.h"
#include "shields/HomePageShield.h"
#include "ui/forms/TimerClock.h"

namespace bastion {
namespace {

namespace keys = services::settings;
using platform::Hive;

struct GuardTimersTest : testing::ShieldFixture {
    GuardTimersTest() {
        WriteDefinitions({"evil.exe=Evil|C:\\Spy"});
        run.app.settings.WriteTruth(keys::kOptAlwaysnotifybeforerestoring, false);
        run.app.settings.WriteTruth(keys::kOptRestoredefaultwithoutnotification, true);
        run.app.settings.Write(keys::kHomepage, kHome);
        clock.Follow(now);
    }
    std::string StartPage() {
        return machine.registry.GetString(Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue))
            .value_or("<none>");
    }
    // Time passes in steps of 100 ms; a program starts or ends every 1.5 s.
    void RunFor(std::uint64_t milliseconds) {
        for (const std::uint64_t until = now + milliseconds; now < until;) {
            now += 100;
            if (now % 1500 == 0) {
                const std::uint32_t id = 1000 + static_cast<std::uint32_t>(now / 1500) % 2;
                if (machine.processes.IsRunning(id)) {
                    machine.processes.Remove(id);
                } else {
                    machine.processes.Add(id, "C:\\Program Files\\Browser\\tab.exe");
                }
            }
            clock.Run(now);
        }
    }

    const std::string kHome = "http://home.example/";
    ui::TimerClock clock{form};
    std::uint64_t now = 0;
};

TEST_F(GuardTimersTest, ABusyProcessListNeverKeepsTheHomePageShieldFromItsTurn) {
    machine.registry.SetString(Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue),
                               "http://hijack.example/");
    RunFor(5000);
    EXPECT_EQ(StartPage(), kHome) << "checked at its first five seconds, busy as the machine is";

    // The memory shield sees a threat that starts in the middle of it all.
    machine.processes.Add(8, "C:\\Spy\\evil.exe");
    AtNextAlert(testing::PressYes);
    machine.registry.SetString(Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue),
                               "http://hijack.example/again");
    RunFor(5000);
    EXPECT_EQ(opened, (std::vector<std::string>{"EVIL.EXE"}));
    EXPECT_FALSE(machine.processes.IsRunning(8));
    EXPECT_EQ(StartPage(), kHome);
    EXPECT_FALSE(run.app.shieldTimers.Held()) << "every hold was let go";
}

}  // namespace
}  // namespace bastion
