// The home-page shield in a running program: the page it remembers, what
// it does when the start page changes, and the ticks it leaves alone.
#include <gtest/gtest.h>

#include "ShieldFixture.h"
#include "services/settings/SettingKeys.h"
#include "shields/HomePageShield.h"

namespace bastion {
namespace {

namespace keys = services::settings;
using platform::Hive;

struct HomePageShieldTest : testing::ShieldFixture {
    void SetStartPage(const std::string& page) {
        machine.registry.SetString(Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue), page);
    }
    std::string StartPage() {
        return machine.registry.GetString(Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue))
            .value_or("<none>");
    }
    std::string Remembered() { return run.app.settings.Read(keys::kHomepage); }
    void Tick() { form.tmrCheckHomePage.Tick(); }
};

TEST_F(HomePageShieldTest, TheFirstLookRemembersThePageWholeAndAnUnreadableOneSkipsTheTick) {
    // Longer than any fixed buffer, and outside any code page.
    const std::string longPage = "http://example.org/" + std::string(3000, 'x') + "/\xE4\xB8\xAD\xE6\x96\x87";
    struct Case {
        const char* name;
        std::function<void()> arrange;
        const char* remembered;  // nullptr: the page itself
    };
    const Case cases[] = {
        {"no key", [] {}, "about:blank"},
        {"an empty page", [&] { SetStartPage(""); }, "about:blank"},
        {"a long page", [&] { SetStartPage(longPage); }, nullptr},
        {"an expandable string", [&] {
             machine.registry.Set(Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue),
                                  [] {
                                      platform::RegValue value = platform::RegValue::String("http://home.example/");
                                      value.type = platform::RegType::ExpandString;
                                      return value;
                                  }());
         }, "http://home.example/"},
        {"a number", [&] {
             machine.registry.SetDword(Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue), 1);
         }, ""},
        {"no access", [&] {
             SetStartPage("http://home.example/");
             machine.registry.DenyAccess(Hive::CurrentUser, std::string(kStartPageKey), platform::RegAccess::Read);
         }, ""},
    };
    for (const Case& each : cases) {
        machine.registry.ClearAccessDenials();
        machine.registry.DeleteTree(Hive::CurrentUser, "Software\\Microsoft");
        run.app.settings.Write(keys::kHomepage, "");
        each.arrange();
        Tick();
        EXPECT_EQ(Remembered(), each.remembered ? each.remembered : longPage) << each.name;
        EXPECT_TRUE(opened.empty()) << each.name;
    }
    machine.registry.ClearAccessDenials();

    // The whole long page is compared: a change at its end is found, and
    // the message shows it shortened.
    SetStartPage(longPage);
    run.app.settings.Write(keys::kHomepage, longPage);
    SetStartPage(longPage + "!");
    AtNextAlert(testing::PressYes);
    Tick();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_LT(opened[0].size(), 600u);
    EXPECT_NE(opened[0].find("x...\r\n\r\nClick No"), std::string::npos) << opened[0];
    EXPECT_EQ(StartPage(), longPage);
}

TEST_F(HomePageShieldTest, AChangedPageIsRestoredOrAcceptedAsTheOptionsAndTheUserSay) {
    struct Case {
        const char* name;
        bool ask;
        bool silently;
        std::function<void(ui::AlertForm&)> answer;  // empty: no alert expected
        const char* startPage;
        const char* remembered;
    };
    // Yes, No and restoring silently: ShieldsWineTest, on the real value.
    const Case cases[] = {
        {"Yes", true, false, testing::PressYes, "http://home.example/", "http://home.example/"},
        {"closed", true, false, testing::CloseBox, "HTTP://Home.Example/", "http://home.example/"},
        {"neither", false, false, nullptr, "HTTP://Home.Example/", "http://home.example/"},
    };
    for (const Case& each : cases) {
        opened.clear();
        SetStartPage("http://home.example/");
        run.app.settings.Write(keys::kHomepage, "");
        Tick();
        run.app.settings.WriteTruth(keys::kOptAlwaysnotifybeforerestoring, each.ask);
        run.app.settings.WriteTruth(keys::kOptRestoredefaultwithoutnotification, each.silently);
        // Another program changes the page; letter case alone is a change.
        SetStartPage("HTTP://Home.Example/");
        if (each.answer) AtNextAlert(each.answer);
        Tick();
        EXPECT_EQ(opened.size(), each.answer ? 1u : 0u) << each.name;
        EXPECT_EQ(StartPage(), each.startPage) << each.name;
        EXPECT_EQ(Remembered(), each.remembered) << each.name;
        EXPECT_TRUE(form.tmrCheckHomePage.Running()) << each.name;
    }
    EXPECT_EQ(opened.size(), 0u);
    EXPECT_EQ(run.app.alerts.homePageChanged.lblHomePageInfo.Caption().substr(0, 58),
              "Testwall has detected that your Homepage has been changed.");
}

TEST_F(HomePageShieldTest, EveryThirdTickRunsTheMemoryShieldAndAShieldSwitchedOffStopsItsTimer) {
    WriteDefinitions({"evil.exe=Evil|"});
    machine.processes.Add(8, "C:\\Spy\\evil.exe");
    AtNextAlert(testing::PressYes);
    Tick();
    Tick();
    EXPECT_TRUE(machine.processes.IsRunning(8));
    Tick();
    EXPECT_FALSE(machine.processes.IsRunning(8));

    run.app.settings.Write(keys::kOptIEHomePageSheildOn, "False");
    SetStartPage("http://elsewhere.example/");
    Tick();
    EXPECT_FALSE(form.tmrCheckHomePage.Running());
    EXPECT_EQ(Remembered(), "about:blank") << "no comparison while switched off";
}

TEST_F(HomePageShieldTest, ALockedStartPageIsToldOnceNotSkippedOrAskedAboutEveryFiveSeconds) {
    const std::string home = "http://home.example/";
    auto told = [this](std::string_view start) {
        int count = 0;
        for (const auto& box : run.dialogs.AskedMessageBoxes()) count += box.text.rfind(start, 0) == 0 ? 1 : 0;
        return count;
    };
    const std::string cannotRead = "Testwall cannot read your homepage";
    const std::string cannotRestore = "Testwall could not restore your homepage";
    SetStartPage(home);
    Tick();

    // Locked against writing: restoring silently fails, said once.
    run.app.settings.WriteTruth(keys::kOptAlwaysnotifybeforerestoring, false);
    run.app.settings.WriteTruth(keys::kOptRestoredefaultwithoutnotification, true);
    SetStartPage("http://hijack.example/");
    machine.registry.DenyAccess(Hive::CurrentUser, std::string(kStartPageKey), platform::RegAccess::ReadWrite);
    for (int tick = 0; tick < 4; ++tick) Tick();
    EXPECT_EQ(told(cannotRestore), 1);
    // A new page is a new change.
    machine.registry.ClearAccessDenials();
    SetStartPage("http://hijack.example/2");
    machine.registry.DenyAccess(Hive::CurrentUser, std::string(kStartPageKey), platform::RegAccess::ReadWrite);
    Tick();
    EXPECT_EQ(told(cannotRestore), 2);

    // Locked against reading too: a change, asked about once; "Yes" cannot
    // write either, and says so.
    machine.registry.ClearAccessDenials();
    machine.registry.DenyAccess(Hive::CurrentUser, std::string(kStartPageKey), platform::RegAccess::Read);
    run.app.settings.WriteTruth(keys::kOptAlwaysnotifybeforerestoring, true);
    run.dialogs.AnswerMessageBox(services::MsgResult::Yes);
    for (int tick = 0; tick < 4; ++tick) Tick();
    EXPECT_EQ(told(cannotRead), 1);
    EXPECT_NE(run.dialogs.AskedMessageBoxes()[2].text.find("Click YES to keep your homepage as:\r\n" + home),
              std::string::npos);
    EXPECT_EQ(told(cannotRestore), 3);
    EXPECT_TRUE(opened.empty());

    // Unlocked: the page can be compared and put back again.
    machine.registry.ClearAccessDenials();
    AtNextAlert(testing::PressYes);
    Tick();
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(StartPage(), home);
}

TEST_F(HomePageShieldTest, AQuestionLeftUnansweredIsAskedAgainOnlyWhenThePageChangesAgain) {
    SetStartPage("http://home.example/");
    Tick();
    SetStartPage("http://hijack.example/");
    AtNextAlert(testing::CloseBox);
    Tick();
    Tick();
    EXPECT_EQ(opened.size(), 1u);
    SetStartPage("http://hijack.example/again");
    AtNextAlert(testing::PressNo);
    Tick();
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(Remembered(), "http://hijack.example/again");
}

}  // namespace
}  // namespace bastion
