// The language window on a fake machine: the list, a choice that every
// open window follows, the download that replaces the translation file only
// with a whole one; and the "chkSendData" confirmation as the window asks
// it.
#include "app/LanguageWindow.h"

#include <gtest/gtest.h>

#include "app/MainWindowHandlers.h"
#include "app/MainWindowLifecycle.h"
#include "app/StartupSequence.h"
#include "services/messages/MessageKeys.h"
#include "services/settings/SettingKeys.h"
#include "support/FakePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"
#include "update/UpdateAddresses.h"

namespace bastion {
namespace {

namespace keys = services::settings;

constexpr const char* kFile = "C:\\Program Files\\Bastion\\Localization.txt";

std::string Block(const std::string& name, const std::string& status, const std::string& title) {
    return "<LANGUAGE_GROUP>\r\n<LANGUAGE_NAME>" + name + "</LANGUAGE_NAME>\r\n<TRANSLATION_ITEMS>\r\n" +
           "<FRMMAIN_CMDSTATUS>" + status + "</FRMMAIN_CMDSTATUS>\r\n<FRMLANGUAGE_COMMAND2>" + status +
           "!</FRMLANGUAGE_COMMAND2>\r\n<MSG_CAPTION>" + title + "</MSG_CAPTION>\r\n</TRANSLATION_ITEMS>\r\n" +
           "</LANGUAGE_GROUP>\r\n";
}

struct LanguageWindowTest : ::testing::Test {
    LanguageWindowTest() {
        machine.files.AddFolder("C:\\Program Files\\Bastion");
        machine.files.AddFile(kFile, kOld);
        language.retranslateOpenWindows = [this] { ++retranslated; };
        pump.Always([this] {
            if (whilePumping) whilePumping();
        });
    }
    std::string Stored(const services::SettingKey& key) { return app.settings.ReadSetting(key.section, key.name, "-"); }

    const std::string kOld = Block("English", "Home", "[ProgramName] by [CompanyName]") +
                             Block("Deutsch", "Übersicht", "[ProgramName] von [CompanyName]") +
                             Block("Español", "Inicio", "[ProgramName] de [CompanyName]");
    testing::FakePlatform machine;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
    App app{machine.Bundle(), dialogs, pump, testing::TestIdentity()};
    LanguageWindow language{app};
    int retranslated = 0;
    // What the user does while a request runs.
    std::function<void()> whilePumping;
    const std::string url = LanguageFileUrl(LanguageServerBase(app.settings), app.identity);
};

TEST_F(LanguageWindowTest, TheListShowsTheFilesLanguagesAndAChoiceRetranslatesEveryOpenWindow) {
    app.settings.Write(keys::kLanguage, "Español");
    language.Form_Load();
    EXPECT_EQ(language.form.Combo1.Items(), (std::vector<std::string>{"English", "Deutsch", "Español"}));
    EXPECT_EQ(language.form.Combo1.Text(), "Español");
    EXPECT_EQ(app.form.cmdStatus.Caption(), "Home") << "filling the list chooses nothing";
    EXPECT_EQ(retranslated, 0);
    EXPECT_EQ(language.form.Caption(), app.messages.getMessages(services::msg::kTitleLanguage));

    language.form.Combo1.SetListIndex(1);
    EXPECT_EQ(Stored(keys::kLanguage), "Deutsch");
    EXPECT_EQ(app.form.cmdStatus.Caption(), "Übersicht");
    EXPECT_EQ(language.form.Command2.Caption(), "Übersicht!");
    EXPECT_EQ(app.form.Caption(), "Testwall von Testwall Labs");
    EXPECT_EQ(retranslated, 1);
}

TEST_F(LanguageWindowTest, TextsTheProgramComposedFollowALanguageSwitch) {
    machine.files.WriteFile(kFile, Block("English", "Home", "[ProgramName] by [CompanyName]") +
                                       "<LANGUAGE_GROUP>\r\n<LANGUAGE_NAME>Deutsch</LANGUAGE_NAME>\r\n"
                                       "<TRANSLATION_ITEMS>\r\n"
                                       "<MSG_LAST_UPDATED>Definitionen zuletzt aktualisiert am</MSG_LAST_UPDATED>\r\n"
                                       "<MSG_RUN_DISABLED>(Ausgeschaltet)</MSG_RUN_DISABLED>\r\n"
                                       "<MSG_RESULTS>Ergebnisse:</MSG_RESULTS>\r\n"
                                       "<MSG_NEVER>Nie</MSG_NEVER>\r\n"
                                       "<MSG_CAPTION2>Willkommen bei [ProgramName]</MSG_CAPTION2>\r\n"
                                       "<FRMMAIN_CMBDAYS_ITEM8>Täglich</FRMMAIN_CMBDAYS_ITEM8>\r\n"
                                       "</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n");
    // A started program: the load and the option page have filled them.
    MainWindowLifecycle lifecycle(app, {});
    ASSERT_EQ(lifecycle.Load(), LoadResult::Running);
    LoadOptionPage(app);
    ASSERT_EQ(app.form.lblLastUpdate.Caption(), "Signatures Last Updated On 3/16/2006 12:00:00 AM PST");
    ASSERT_EQ(app.form.lblRunAtStart.Caption(), "(Disabled - Run Manually)");

    language.Form_Load();
    language.form.Combo1.SetListIndex(1);
    EXPECT_EQ(app.form.lblLastUpdate.Caption(), "Definitionen zuletzt aktualisiert am 3/16/2006 12:00:00 AM PST");
    EXPECT_EQ(app.form.lblRunAtStart.Caption(), "(Ausgeschaltet)");
    EXPECT_EQ(app.form.Label26.Caption(), "Ergebnisse:");
    EXPECT_EQ(app.form.lblLastScan.Caption(), "Nie");
    EXPECT_EQ(app.form.Label22.Caption(), "Willkommen bei Testwall");
    EXPECT_EQ(app.form.cmbDays.Text(), "Täglich") << "the day list too, its choice kept";
}

TEST_F(LanguageWindowTest, ADownloadReplacesTheFileOnlyWithAWholeAnswerAndSaysWhatHappened) {
    const std::string fresh = Block("Deutsch", "Start", "x") + Block("Français", "Accueil", "y");
    struct Case {
        const char* name;
        testing::FakeResponse answer;
        bool stored;
    };
    const Case cases[] = {
        {"an error status", {true, 404, fresh}, false},
        {"an error page", {true, 200, "<html><body>Server Error</body></html>"}, false},
        {"a cut-off answer", {true, 200, fresh, platform::HttpFailure::Truncated}, false},
        {"a block without its end", {true, 200, "<LANGUAGE_GROUP><LANGUAGE_NAME>X</LANGUAGE_NAME>"}, false},
        {"no server", {false, 0, ""}, false},
        {"a whole file after a byte-order mark", {true, 200, "\xEF\xBB\xBF" + fresh}, true},
    };
    for (const Case& each : cases) {
        machine.files.AddFile(kFile, kOld);
        // The window's events run while the answer is on its way.
        testing::FakeResponse answer = each.answer;
        answer.waits = 1;
        machine.internet.RespondInTurn(url, {answer});
        machine.internet.requests.clear();
        bool disabled = false;
        whilePumping = [&] {
            disabled = !language.form.Command1.Enabled();
            language.Command1_Click();  // a second click while the first runs
        };
        language.Command1_Click();
        EXPECT_EQ(machine.internet.requests.size(), 1u) << each.name;
        EXPECT_TRUE(disabled || !each.answer.reachable) << each.name;
        EXPECT_TRUE(language.form.Command1.Enabled()) << each.name;
        EXPECT_EQ(machine.files.Content(kFile), each.stored ? fresh + "\r\n" : kOld) << each.name;
        EXPECT_EQ(dialogs.Asked().back().text,
                  app.messages.getMessages(each.stored ? services::msg::kDownloaded : services::msg::kLanguageFailed))
            << each.name;
    }
    EXPECT_EQ(language.form.Combo1.Items(), (std::vector<std::string>{"Deutsch", "Français"}));

    // A file that cannot be replaced stays as it was.
    whilePumping = nullptr;
    machine.files.AddFile(kFile, kOld);
    machine.files.FailMoves(kFile);
    machine.internet.RespondInTurn(url, {{true, 200, fresh}});
    language.Command1_Click();
    EXPECT_EQ(machine.files.Content(kFile), kOld);
    EXPECT_EQ(dialogs.Asked().back().text, app.messages.getMessages(services::msg::kLanguageFailed));
}

TEST_F(LanguageWindowTest, ClearingSendDataAsksAndNoKeepsItButRestoringAsksNothing) {
    MainWindowActions actions;
    actions.confirmSendData = [this](bool ticked) { return app.feedback.ConfirmSendData(ticked); };
    MainWindowHandlers handlers(app, actions);
    app.settings.Write(keys::kChkSendData, "0");
    LoadOptionPage(app);
    EXPECT_TRUE(dialogs.Asked().empty()) << "the start asks nothing";
    EXPECT_FALSE(app.form.chkSendData.Checked());
    EXPECT_EQ(Stored(keys::kChkSendData), "0");

    app.form.chkSendData.Click();
    EXPECT_EQ(Stored(keys::kChkSendData), "1");
    dialogs.AnswerMessageBox(services::MsgResult::No);
    app.form.chkSendData.Click();
    EXPECT_TRUE(app.form.chkSendData.Checked());
    EXPECT_EQ(Stored(keys::kChkSendData), "1");
    EXPECT_EQ(dialogs.Asked().back().title, app.messages.getMessages(services::msg::kAnon4));
    dialogs.AnswerMessageBox(services::MsgResult::Yes);
    app.form.chkSendData.Click();
    EXPECT_FALSE(app.form.chkSendData.Checked());
    EXPECT_EQ(Stored(keys::kChkSendData), "0");
}

}  // namespace
}  // namespace bastion
