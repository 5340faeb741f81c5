// The shields against the real machine and their real alert windows,
// answered through the windows' buttons and close boxes while the shield
// waits on the message queue. The memory shield meets two copies of
// SleepyChild.exe under one name of their own, in two folders, both listed
// in "ExeDefinition.dat"; the home-page shield the real "Start Page" of
// HKEY_CURRENT_USER, changed by reg.exe.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "ChildProcess.h"
#include "RunningProgram.h"
#include "ScanWineContext.h"
#include "common/Text.h"
#include "platform/win32/Win32Clock.h"
#include "scan/processes/ProcessScanner.h"
#include "app/AlertWindows.h"
#include "app/ShieldTimers.h"
#include "shields/HomePageShield.h"
#include "shields/MemoryShield.h"
#include "support/ScanHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "ui/win32/FormTimerWindow.h"
#include "services/settings/SettingKeys.h"
#include "ui/win32/FrmHomePageChangedAlertWindow.h"
#include "ui/win32/FrmSpywareFoundAlertWindow.h"
#include "ui/win32/Win32EventPump.h"

namespace bastion::win32 {
namespace {

// The user at an alert: a timer of its own that, once the alert window
// shows and takes input, does the next scripted thing to it.
class AlertUser {
public:
    using Action = std::function<void(AlertUser&)>;

    AlertUser(FormWindow& window, ui::AlertForm& alert) : window_(window), alert_(alert) {
        tick_.onTick = [this] { Look(); };
        timers_.Create();
        timers_.Sync();
    }

    void Then(Action action) { actions_.push_back(std::move(action)); }
    int Answered() const { return answered_; }
    // The next action comes as soon as the alert shows, before it takes
    // input: a click that was meant for something else.
    bool early = false;

    // A click on the native button, as its window receives it.
    void Press(ui::CommandButton& button) {
        HWND native = window_.NativeOf(button)->Hwnd();
        ::SendMessageW(window_.Hwnd(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(native), BN_CLICKED),
                       reinterpret_cast<LPARAM>(native));
    }
    // "STOP" or "Yes"; "ALLOW" or "No".
    void Yes() { Press(alert_.cmdYes); }
    void No() { Press(alert_.cmdNO); }
    void CloseBox() { ::PostMessageW(window_.Hwnd(), WM_CLOSE, 0, 0); }

private:
    void Look() {
        if (!::IsWindowVisible(window_.Hwnd())) return;
        if (!early && !alert_.Armed()) return;
        if (actions_.empty()) {
            ADD_FAILURE() << "an alert nobody answers";
            ::PostMessageW(window_.Hwnd(), WM_CLOSE, 0, 0);
            return;
        }
        Action action = std::move(actions_.front());
        actions_.pop_front();
        ++answered_;
        action(*this);
    }

    FormWindow& window_;
    ui::AlertForm& alert_;
    ui::Form form_{"AlertUser"};
    ui::Timer tick_{form_, "tmrLook", 150, true};
    FormTimerWindow timers_{form_};
    std::deque<Action> actions_;
    int answered_ = 0;
};

class ShieldsWineTest : public ::testing::Test {
protected:
    ShieldsWineTest() {
        services::FillDefaultMessages(messages);
        services::FillGuardMessages(messages);
        fileName = test::UniqueName("bastion_shield_") + ".exe";
        for (const test::ScratchFolder* folder : {&listedFolder, &otherFolder}) {
            machine.files.CopyFile(test::ProgramFolder() + "\\SleepyChild.exe", *folder / fileName, true);
        }
        // The name is a threat in both folders.
        machine.WriteDefinitions(datafile::kExeDefinitions, {fileName + "=Test Threat|" + listedFolder.Path(),
                                                             fileName + "=Test Threat|" + otherFolder.Path()});
        BindShieldTimers(form, shield, homePage);
        timers.EnableShieldTimers(true);
        alertWindow.Create();
        homePageWindow.Create();
        pump.SetAfterDispatch([this] {
            alertWindow.SyncAll();
            homePageWindow.SyncAll();
        });
    }
    ~ShieldsWineTest() override {
        registry.DeleteTree(platform::Hive::CurrentUser, "Software\\VB and VBA Program Settings\\" + settingsName);
    }

    std::string ExclusionFileText() {
        return machine.files.ReadFile(DataFilePath(machine.dataFolder.Path(), datafile::kExclusions)).value_or("");
    }

    test::ScanWineContext machine;
    // The main window's timers and the page the home-page shield reads.
    ui::FrmMain form;
    test::ScratchFolder listedFolder;
    test::ScratchFolder otherFolder;
    Win32Registry registry;
    std::string settingsName = test::UniqueName("BastionShieldTest");
    services::SettingsStore settings{registry, settingsName};
    testing::ScriptedDialogs dialogs;
    Win32EventPump pump;
    services::OperationGate operations;
    services::MessageCatalogue messages{testing::TestIdentity()};
    std::string productName = "Testwall";
    ProcessScanner scanner{dialogs, messages, productName};
    ShieldTimers timers{form, settings};
    Win32Clock clock;
    services::Identity identity = testing::TestIdentity();
    std::string dataFolder = machine.dataFolder.Path();
    const services::Services services{
        machine.Machine(clock), dialogs, pump, operations, messages, identity, settings, dataFolder, timers};
    AlertWindows alerts{services};
    MemoryShield shield{ScanEnvironment{services, machine.safety, machine.exclusions, machine.tables, machine.state,
                                        scanner},
                        alerts};
    // The alert places itself by the monitor of this window.
    ui::Form anchorForm{"anchor"};
    FormTimerWindow anchor{anchorForm};
    FrmSpywareFoundAlertWindow alertWindow{alerts.spywareFound, anchor};
    HomePageShield homePage{HomePageShieldEnvironment{services, shield, alerts}};
    FrmHomePageChangedAlertWindow homePageWindow{alerts.homePageChanged};
    std::string fileName;
};

TEST_F(ShieldsWineTest, StopEndsTheProcessAskedAboutAllowExcludesAndClosingDoesNeither) {
    test::RunningProgram first(listedFolder / fileName);
    test::RunningProgram second(otherFolder / fileName);
    ASSERT_TRUE(first.Started() && second.Started());
    ASSERT_TRUE(test::WaitUntilNamed(first, machine.processes) && test::WaitUntilNamed(second, machine.processes));

    // Two detections, two alerts in turn: STOP for the one asked about
    // first, the close box for the other.
    AlertUser user(alertWindow, alerts.spywareFound);
    bool secondAlertAfterFirstStop = false;
    RECT shown{};
    user.Then([&](AlertUser& self) {
        ::GetWindowRect(alertWindow.Hwnd(), &shown);
        self.Yes();
    });
    user.Then([&](AlertUser& self) {
        secondAlertAfterFirstStop = first.Ended(0) || second.Ended(0);
        self.CloseBox();
    });
    form.tmrMemoryInspected.Tick();

    EXPECT_EQ(user.Answered(), 2);
    EXPECT_TRUE(secondAlertAfterFirstStop);
    // In the corner above the notification area.
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(shown.right <= work.right && shown.right > work.right - 100 && shown.bottom <= work.bottom &&
                shown.bottom > work.bottom - 100)
        << shown.left << "," << shown.top << "," << shown.right << "," << shown.bottom;
    EXPECT_EQ(alerts.spywareFound.lblAlertFileName.Caption(), ToUpper(fileName));
    // Exactly the one asked about has ended, whichever of the two that was.
    for (int wait = 0; wait < 100 && !first.Ended(0) && !second.Ended(0); ++wait) ::Sleep(50);
    const bool firstEnded = first.Ended(0);
    EXPECT_NE(firstEnded, second.Ended(200));
    EXPECT_TRUE(ExclusionFileText().empty());
    EXPECT_FALSE(::IsWindowVisible(alertWindow.Hwnd()));

    // One program fewer: the shield looks again; ALLOW keeps it running.
    user.Then([](AlertUser& self) { self.No(); });
    form.tmrMemoryInspected.Tick();
    EXPECT_EQ(user.Answered(), 3);
    const test::RunningProgram& survivor = firstEnded ? second : first;
    EXPECT_FALSE(survivor.Ended(200));
    EXPECT_EQ(ExclusionFileText(), "\xEF\xBB\xBF" + ToUpper(fileName) + "\r\n");
    EXPECT_TRUE(machine.Activity().empty()) << "the shield adds nothing to the scan page";

    // The next scan shows it as excluded and leaves it running.
    scanner.ResetSignature();
    ScanContext context = machine.Context();
    machine.BeginScan();
    scanner.ScanRunningProcesses(context, ProcessScanCaller::Scan);
    EXPECT_EQ(testing::DescribedActivity(machine.state.Results()),
              (std::vector<std::string>{"EXCLUDED|" + ToUpper(fileName) + "#Excluded"}));
    EXPECT_FALSE(survivor.Ended(200));
}

TEST_F(ShieldsWineTest, AnAlertTakesNoAnswerInItsFirstHalfSecond) {
    test::RunningProgram program(listedFolder / fileName);
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(test::WaitUntilNamed(program, machine.processes));
    HWND stop = alertWindow.NativeOf(alerts.spywareFound.cmdYes)->Hwnd();

    AlertUser user(alertWindow, alerts.spywareFound);
    user.early = true;
    ULONGLONG shownAt = 0;
    bool ignored = false;
    user.Then([&](AlertUser& self) {
        shownAt = ::GetTickCount64();
        // The second click of a double click on whatever was there before.
        ::SendMessageW(stop, BM_CLICK, 0, 0);
        self.Yes();
        ignored = alerts.spywareFound.Waiting() && !::IsWindowEnabled(stop);
        self.early = false;
        self.Then([&](AlertUser& later) {
            EXPECT_TRUE(::IsWindowEnabled(stop));
            EXPECT_GE(::GetTickCount64() - shownAt, 400u) << "about half a second after it showed";
            later.Yes();
        });
    });
    form.tmrMemoryInspected.Tick();

    EXPECT_TRUE(ignored);
    EXPECT_EQ(user.Answered(), 2);
    EXPECT_TRUE(program.Ended(10000)) << "the answer that came in time counts";
}

// The browser's start page as the test found it comes back at the end.
class SavedStartPage {
public:
    SavedStartPage() { saved_ = registry_.QueryValue(Hive::CurrentUser, Key(), Value(), value_) == platform::kRegOk; }
    ~SavedStartPage() {
        if (saved_) {
            registry_.SetValue(Hive::CurrentUser, Key(), Value(), value_);
        } else {
            registry_.DeleteValue(Hive::CurrentUser, Key(), Value());
        }
    }
    static std::string Key() { return std::string(kStartPageKey); }
    static std::string Value() { return std::string(kStartPageValue); }

private:
    using Hive = platform::Hive;
    Win32Registry registry_;
    platform::RegValue value_;
    bool saved_ = false;
};

TEST_F(ShieldsWineTest, AStartPageChangedByAnotherProgramIsRestoredOrAcceptedAsChosen) {
    namespace keys = services::settings;
    using platform::Hive;
    SavedStartPage saved;
    // Longer than any fixed buffer, and outside the code page.
    const std::string page = "http://home.example/Gr\xC3\xBC\xC3\x9F" "e/\xE4\xB8\x96/" + std::string(1500, 'p');
    auto startPage = [this] {
        platform::RegValue value;
        registry.QueryValue(Hive::CurrentUser, SavedStartPage::Key(), SavedStartPage::Value(), value);
        return value.text;
    };
    auto hijack = [](const char* address) {
        const test::ChildResult result = test::RunChild(
            std::string("reg.exe add \"HKCU\\") + std::string(kStartPageKey) + "\" /v \"Start Page\" /d " + address +
            " /f");
        ASSERT_TRUE(result.started && result.exitCode == 0) << result.output;
    };
    ASSERT_EQ(registry.CreateKey(Hive::CurrentUser, SavedStartPage::Key()), platform::kRegOk);
    ASSERT_EQ(registry.SetValue(Hive::CurrentUser, SavedStartPage::Key(), SavedStartPage::Value(),
                                platform::RegValue::String(page)),
              platform::kRegOk);
    form.tmrCheckHomePage.Tick();
    EXPECT_EQ(settings.Read(keys::kHomepage), page) << "remembered whole";

    // Restored silently.
    settings.WriteTruth(keys::kOptAlwaysnotifybeforerestoring, false);
    settings.WriteTruth(keys::kOptRestoredefaultwithoutnotification, true);
    hijack("http://hijack.example/one");
    form.tmrCheckHomePage.Tick();
    EXPECT_EQ(startPage(), page);

    // Asked: "Yes" restores, "No" keeps the new page.
    settings.WriteTruth(keys::kOptAlwaysnotifybeforerestoring, true);
    AlertUser user(homePageWindow, alerts.homePageChanged);
    user.Then([](AlertUser& self) { self.Yes(); });
    hijack("http://hijack.example/two");
    form.tmrCheckHomePage.Tick();
    EXPECT_EQ(user.Answered(), 1);
    EXPECT_EQ(startPage(), page);
    EXPECT_NE(alerts.homePageChanged.lblHomePageInfo.Caption().find("http://hijack.example/two"), std::string::npos);

    user.Then([](AlertUser& self) { self.No(); });
    hijack("http://hijack.example/three");
    form.tmrCheckHomePage.Tick();
    EXPECT_EQ(user.Answered(), 2);
    EXPECT_EQ(startPage(), "http://hijack.example/three");
    EXPECT_EQ(settings.Read(keys::kHomepage), "http://hijack.example/three");
    EXPECT_FALSE(::IsWindowVisible(homePageWindow.Hwnd()));
}

}  // namespace
}  // namespace bastion::win32
