// A soak under Wine: the shields, the scheduler and the notification area
// with their real windows through 5,000 timer ticks, at the timers' own periods on a clock
// the test moves (the scroll timer five times a second, the scheduler every
// second, the memory shield every two, the home-page shield every five):
// the GDI and USER objects of the process are as many after as before.
// Meanwhile the start page is hijacked and put back every minute, a program
// starts or ends every half minute, a threat's alert opens (and is answered
// STOP) every three minutes, and the icon's menu slides up and goes every
// twenty seconds (the icon itself stays, as while the program runs).
// It takes about half a minute: run it through wine-run.sh (it starts
// SleepyChild.exe, copied beside it by the build). It prints the objects
// counted before and after and fails when they grew.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>

#include <winternl.h>

#include "RunningProgram.h"
#include "ScanWineContext.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Registry.h"
#include "app/AlertWindows.h"
#include "app/ShieldTimers.h"
#include "shields/HomePageShield.h"
#include "scheduler/Scheduler.h"
#include "shields/MemoryShield.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "ui/forms/FrmMenuPopUp.h"
#include "ui/forms/TimerClock.h"
#include "services/settings/SettingKeys.h"
#include "ui/win32/FormTimerWindow.h"
#include "ui/win32/FrmHomePageChangedAlertWindow.h"
#include "ui/win32/FrmMenuPopUpWindow.h"
#include "ui/win32/FrmSpywareFoundAlertWindow.h"
#include "ui/win32/Win32EventPump.h"
#include "ui/win32/ClsTray.h"

namespace bastion::win32 {
namespace {

namespace keys = services::settings;
using platform::Hive;

struct GuiObjects {
    DWORD gdi = 0;
    DWORD user = 0;
};

// Wine answers 0 to GetGuiResources. Its GDI handle table (the one the
// process block names, as on Windows: 24-byte cells whose type word is not
// 0 while the handle lives) holds this process's objects alone.
DWORD GdiObjectsInTheHandleTable() {
    using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(::GetCurrentProcess(), 0, &basic, sizeof(basic), nullptr) != 0) return 0;
    struct Cell {
        std::uint64_t kernelAddress;
        std::uint16_t processId;
        std::uint16_t count;
        std::uint16_t upper;
        std::uint16_t type;
        std::uint64_t userAddress;
    };
    constexpr std::size_t kTableInProcessBlock = 0xF8;
    constexpr int kCells = 0x10000;
    const auto* block = reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const Cell* const*>(block + kTableInProcessBlock);
    DWORD count = 0;
    for (int i = 0; table && i < kCells; ++i) count += table[i].type != 0 ? 1 : 0;
    return count;
}

// The windows of this process, child windows included: what its USER
// objects are made of.
DWORD WindowsOfThisProcess() {
    struct Found {
        DWORD count = 0;
    } found;
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner != ::GetCurrentProcessId()) return TRUE;
            auto* counted = reinterpret_cast<Found*>(context);
            ++counted->count;
            ::EnumChildWindows(
                window,
                [](HWND, LPARAM inner) -> BOOL {
                    ++reinterpret_cast<Found*>(inner)->count;
                    return TRUE;
                },
                context);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.count;
}

GuiObjects Count() {
    GuiObjects objects{::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                       ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)};
    if (objects.gdi == 0) objects.gdi = GdiObjectsInTheHandleTable();
    if (objects.user == 0) objects.user = WindowsOfThisProcess();
    return objects;
}

class GuardSoak : public ::testing::Test {
protected:
    GuardSoak() {
        services::FillDefaultMessages(messages);
        services::FillGuardMessages(messages);
        threatName = test::UniqueName("bastion_soak_") + ".exe";
        machine.files.CopyFile(test::ProgramFolder() + "\\SleepyChild.exe", folder / threatName, true);
        machine.files.CopyFile(test::ProgramFolder() + "\\SleepyChild.exe", folder / "harmless.exe", true);
        machine.WriteDefinitions(datafile::kExeDefinitions, {threatName + "=Test Threat|" + folder.Path()});
        settings.WriteTruth(keys::kOptAlwaysnotifybeforerestoring, false);
        settings.WriteTruth(keys::kOptRestoredefaultwithoutnotification, true);
        settings.Write(keys::kChkAutomaticScanYesOrNo, "1");
        BindShieldTimers(form, shield, homePage);
        timers.EnableShieldTimers(true);
        anchor.Create();
        alertWindow.Create();
        homePageWindow.Create();
        menuWindow.Create();
        // The user answers STOP as soon as the alert takes input.
        pump.SetAfterDispatch([this] {
            alertWindow.SyncAll();
            homePageWindow.SyncAll();
            menuWindow.SyncAll();
            ui::FrmSpywareFoundAlert& alert = alertWindows.spywareFound;
            if (alert.Waiting() && alert.Armed()) alert.cmdYes.Click();
        });
        registry.QueryValue(Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue), savedPage);
        form.tmrScroll.onTick = [this] { pump.Pump(); };
        form.tmrScheduler.onTick = [this] { scheduler.CheckSchedule(); };
        // Every tick of every timer counts.
        for (ui::Timer* timer : {&form.tmrScroll, &form.tmrScheduler, &form.tmrMemoryInspected,
                                 &form.tmrCheckHomePage}) {
            timer->onTick = [this, tick = std::move(timer->onTick)] {
                ++ticks;
                tick();
            };
        }
        clock.Follow(now);
    }
    ~GuardSoak() override {
        registry.DeleteTree(Hive::CurrentUser, "Software\\VB and VBA Program Settings\\" + settingsName);
        if (savedPage.type != platform::RegType::None) {
            registry.SetValue(Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue), savedPage);
        }
    }

    void SetStartPage(const std::string& page) {
        registry.CreateKey(Hive::CurrentUser, std::string(kStartPageKey));
        registry.SetValue(Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue),
                          platform::RegValue::String(page));
    }

    // Runs the form's timers from the clock's last position until the
    // ticks have reached the count.
    void RunUntil(int ticks) {
        while (this->ticks < ticks) {
            now += 200;
            if (now % 60'000 == 0) SetStartPage("http://hijack.example/" + std::to_string(now));
            if (now % 30'000 == 0) {
                if (harmless) {
                    harmless.reset();
                } else {
                    harmless = std::make_unique<test::RunningProgram>(folder / "harmless.exe");
                }
            }
            if (now % 180'000 == 90'000) {
                threat = std::make_unique<test::RunningProgram>(folder / threatName);
                test::WaitUntilNamed(*threat, machine.processes);
                ++alerts;
            }
            if (now % 20'000 == 0) {
                menu.Form_Load("Bastion", false);
                menuWindow.SyncAll();
                pump.PumpNow();
                menu.Form_Unload();
                menuWindow.SyncAll();
            }
            clock.Run(now);
            pump.PumpNow();
        }
    }

    test::ScanWineContext machine;
    test::ScratchFolder folder;
    Win32Registry registry;
    std::string settingsName = test::UniqueName("BastionSoakTest");
    services::SettingsStore settings{registry, settingsName};
    testing::ScriptedDialogs dialogs;
    Win32EventPump pump;
    services::OperationGate operations;
    services::MessageCatalogue messages{testing::TestIdentity()};
    std::string productName = "Testwall";
    ProcessScanner scanner{dialogs, messages, productName};
    // The main window's timers and the page the home-page shield reads.
    ui::FrmMain form;
    ShieldTimers timers{form, settings};
    Win32Clock wallClock;
    services::Identity identity = testing::TestIdentity();
    std::string dataFolder = machine.dataFolder.Path();
    const services::Services services{
        machine.Machine(wallClock), dialogs, pump, operations, messages, identity, settings, dataFolder, timers};
    AlertWindows alertWindows{services};
    MemoryShield shield{ScanEnvironment{services, machine.safety, machine.exclusions, machine.tables, machine.state,
                                        scanner},
                        alertWindows};
    ui::Form anchorForm{"anchor"};
    FormTimerWindow anchor{anchorForm};
    FrmSpywareFoundAlertWindow alertWindow{alertWindows.spywareFound, anchor};
    HomePageShield homePage{HomePageShieldEnvironment{services, shield, alertWindows}};
    FrmHomePageChangedAlertWindow homePageWindow{alertWindows.homePageChanged};
    ui::FrmMenuPopUp menu;
    FrmMenuPopUpWindow menuWindow{menu, anchor};
    clsTray tray{anchor, 7};
    platform::RegValue savedPage;
    std::string threatName;
    std::unique_ptr<test::RunningProgram> harmless;
    std::unique_ptr<test::RunningProgram> threat;
    int alerts = 0;
    Scheduler scheduler{wallClock, operations, nullptr};
    ui::TimerClock clock{form};
    std::uint64_t now = 0;
    int ticks = 0;
};

TEST_F(GuardSoak, FiveThousandTicksLeaveAsManyGdiAndUserObjectsAsThereWere) {
    SetStartPage("http://home.example/");
    settings.Write(keys::kHomepage, "http://home.example/");
    // Every window and cache has been made once: an alert, the tray menu.
    tray.ShowIcon("Bastion");
    RunUntil(1000);
    const GuiObjects before = Count();
    ASSERT_GT(before.gdi, 0u) << "no GDI objects counted";
    ASSERT_GT(before.user, 0u) << "no USER objects counted";
    const int alertsBefore = alerts;
    RunUntil(6000);
    const GuiObjects after = Count();
    tray.RemoveIcon();
    std::printf("GDI objects: %lu before, %lu after; USER objects: %lu before, %lu after; %d alerts\n",
                static_cast<unsigned long>(before.gdi), static_cast<unsigned long>(after.gdi),
                static_cast<unsigned long>(before.user), static_cast<unsigned long>(after.user), alerts);

    EXPECT_GE(alerts - alertsBefore, 4);
    EXPECT_FALSE(threat && !threat->Ended(5000)) << "each threat was stopped from its alert";
    EXPECT_LE(after.gdi, before.gdi + 2) << before.gdi << " GDI objects before, " << after.gdi << " after";
    EXPECT_LE(after.user, before.user + 2) << before.user << " USER objects before, " << after.user << " after";
    platform::RegValue page;
    registry.QueryValue(Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue), page);
    EXPECT_EQ(page.text, "http://home.example/");
}

}  // namespace
}  // namespace bastion::win32
