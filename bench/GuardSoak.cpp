// Days in the notification area, on fakes: a started program whose timers
// run against a moving clock for 50,000 ticks of the scroll timer (the
// scheduler, the memory shield and the home-page shield tick with it, at
// their own periods) while programs start and end every few seconds, a
// threat starts now and then and is stopped from its alert, the home page
// is hijacked and put back, the program goes to the notification area and
// comes back, and a scheduled scan runs every simulated hour.
//
// Counters: the growth of the resident memory from the first tenth of the
// run to its end, and what the program holds open at the end against the
// start (held timers, open modal windows, running operations, waiting
// alerts, alert windows shown): all should stay flat. The icon in the
// notification area stays from the first trip there on, one icon.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

#include "app/App.h"
#include "app/MainWindowLifecycle.h"
#include "app/NotificationArea.h"
#include "app/StartupSequence.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionCodec.h"
#include "scheduler/Schedule.h"
#include "services/settings/SettingKeys.h"
#include "shields/HomePageShield.h"
#include "support/FakePlatform.h"
#include "support/FakeTray.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"
#include "ui/forms/TimerClock.h"

namespace {

using namespace bastion;
namespace keys = services::settings;

constexpr int kTicks = 50'000;
// The scroll timer's period: one tick of the run.
constexpr std::uint64_t kTickMs = 200;

long ResidentKilobytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// What the program holds that could pile up over days.
int HeldThings(App& app) {
    return app.shieldTimers.Holders() + (app.operations.ModalOpen() ? 1 : 0) + (app.operations.Running() ? 1 : 0) +
           (app.operations.AlertWaiting() ? 1 : 0) + (app.alerts.spywareFound.Visible() ? 1 : 0) +
           (app.alerts.homePageChanged.Visible() ? 1 : 0);
}

void WriteDefinitions(testing::FakePlatform& machine, const std::string& dataFolder) {
    for (std::string_view file : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions,
                                  datafile::kRegistryDefinitions, datafile::kBlockedCookies}) {
        machine.files.AddFile(DataFilePath(dataFolder, file), "");
    }
    machine.files.WriteFile(DataFilePath(dataFolder, datafile::kExeDefinitions),
                            EncodeDefinitionText("evil.exe=Evil|C:\\Spy") + "\r\n");
}

void DaysInTheTray(benchmark::State& state) {
    for (auto _ : state) {
        testing::FakePlatform machine;
        testing::ScriptedDialogs dialogs;
        testing::ScriptedEventPump pump;
        App app(machine.Bundle(), dialogs, pump, testing::TestIdentity());
        MainWindowLifecycle lifecycle(app, {});
        testing::FakeTray tray;
        NotificationArea area(app, tray, lifecycle, {});
        lifecycle.Load();
        WriteDefinitions(machine, app.dataFolder);
        app.settings.Write(keys::kChkAutomaticScanYesOrNo, "1");
        app.settings.Write(keys::kDay, "7");
        app.settings.Write(keys::kTime, ScheduleValueText(DateTime{1899, 12, 30, 12, 30, 0}));
        app.settings.WriteTruth(keys::kOptAlwaysnotifybeforerestoring, false);
        app.settings.WriteTruth(keys::kOptRestoredefaultwithoutnotification, true);
        app.settings.Write(keys::kHomepage, "http://home.example/");
        StartupSequence startup(app, lifecycle, {});
        startup.RestoreOptionsAndStartTimers();
        // The user stops every threat once its alert takes input.
        pump.Always([&app] {
            ui::FrmSpywareFoundAlert& alert = app.alerts.spywareFound;
            if (!alert.Waiting()) return;
            alert.tmrArm.Tick();
            alert.cmdYes.Click();
        });
        const int heldBefore = HeldThings(app);

        ui::TimerClock clock(app.form);
        std::uint64_t now = 0;
        clock.Follow(now);
        long residentAtTenth = 0;
        for (int tick = 1; tick <= kTicks; ++tick) {
            now += kTickMs;
            if (now % 1000 == 0) machine.clock.Advance(1);
            if (now % 3000 == 0) {
                const std::uint32_t id = 1000 + static_cast<std::uint32_t>(now / 3000) % 7;
                if (machine.processes.IsRunning(id)) {
                    machine.processes.Remove(id);
                } else {
                    machine.processes.Add(id, "C:\\Program Files\\Browser\\tab" + std::to_string(id) + ".exe");
                }
            }
            if (now % 120'000 == 0) machine.processes.Add(8, "C:\\Spy\\evil.exe");
            if (now % 60'000 == 0) {
                machine.registry.SetString(platform::Hive::CurrentUser, std::string(kStartPageKey),
                                           std::string(kStartPageValue),
                                           "http://hijack.example/" + std::to_string(now));
            }
            if (now % 30'000 == 0) {
                area.MinimizeToTray();
                tray.User(ui::TrayEvent::Select);
                area.TrayEvent(ui::TrayEvent::DoubleClick);
            }
            clock.Run(now);
            if (tick == kTicks / 10) residentAtTenth = ResidentKilobytes();
        }
        state.counters["resident_growth_kB"] = static_cast<double>(ResidentKilobytes() - residentAtTenth);
        state.counters["held_before"] = heldBefore;
        state.counters["held_after"] = HeldThings(app);
        state.counters["tray_icons"] = tray.IconPresent() ? 1 : 0;
        state.counters["threats_stopped"] = static_cast<double>(machine.processes.terminateCalls.size());
        state.counters["home_page_restored"] =
            machine.registry.GetString(platform::Hive::CurrentUser, std::string(kStartPageKey),
                                       std::string(kStartPageValue)) == "http://home.example/";
        state.counters["scans"] = static_cast<double>(app.settings.Read(keys::kLblLastScan) != "Never");
        state.counters["activity_rows"] = static_cast<double>(app.form.lvwSpywareFound.Count());
        state.counters["exclusion_bytes"] = static_cast<double>(app.exclusions.Text().size());
    }
}

BENCHMARK(DaysInTheTray)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
