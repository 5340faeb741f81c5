#include "scan/ExcludeCommand.h"

#include <gtest/gtest.h>

#include "DetectedRows.h"
#include "definitions/DataFiles.h"
#include "scan/state/ResultChecks.h"
#include "services/messages/DefaultMessages.h"
#include "support/FakeFileSystem.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

using testing::DetectedRows;
using testing::RowTexts;
using Strings = std::vector<std::string>;

struct ExcludeCommandTest : ::testing::Test {
    ExcludeCommandTest() {
        files.AddFolder(dataFolder);
        services::FillDefaultMessages(messages);
        BindResultChecks(state);
        dialogs.FailOnUnscriptedQuestion();
    }

    void Click() { cmdExclude_Click({state, dialogs, messages, productName, file, exclusions, pump}); }
    std::string ExclusionPath() const { return DataFilePath(dataFolder, datafile::kExclusions); }

    ui::FrmMain form;
    ScanState state{form};
    testing::FakeFileSystem files;
    std::string dataFolder = "C:\\Data";
    ExclusionFile file{files, Windows1252(), dataFolder};
    ExclusionList exclusions;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
    services::MessageCatalogue messages{testing::TestIdentity()};
    std::string productName = "Testwall";
};

TEST_F(ExcludeCommandTest, WithNothingToExcludeItOnlySaysSorry) {
    // The cookie queue alone does not count: its rows always come with a
    // results row.
    state.AddCookieQueueRow("C:\\cookie.txt");
    dialogs.AnswerMessageBox(services::MsgResult::Ok);
    Click();
    ASSERT_EQ(dialogs.Asked().size(), 1u);
    const testing::AskedDialog& asked = dialogs.Asked()[0];
    EXPECT_EQ(asked.text, "Sorry, there are no entries to be excluded.");
    EXPECT_EQ(asked.title, "Testwall");
    EXPECT_EQ(asked.buttons, services::MsgButtons::Ok);
    EXPECT_EQ(asked.icon, services::MsgIcon::Information);
    EXPECT_EQ(state.CookieQueue().Count(), 1u);
}

TEST_F(ExcludeCommandTest, AnsweringNoChangesNothing) {
    DetectedRows rows(state);
    state.ResultsList().ItemCheck(DetectedRows::kFile, true);
    dialogs.AnswerMessageBox(services::MsgResult::No);
    Click();
    ASSERT_EQ(dialogs.Asked().size(), 1u);
    const testing::AskedDialog& asked = dialogs.Asked()[0];
    EXPECT_EQ(asked.text,
              "Are you sure you want to exclude the selected files?\r\n\r\n"
              "Excluded files will not show up as Adware/Spyware on future scans.\r\n\r\n"
              "You can edit the list of excluded files through the Quarantine menu.");
    EXPECT_EQ(asked.title, "Really Exclude?");
    EXPECT_EQ(asked.buttons, services::MsgButtons::YesNo);
    EXPECT_FALSE(files.HasFile(ExclusionPath()));
    EXPECT_EQ(state.ResultsList().Count(), 5u);
    EXPECT_EQ(state.FileQueue().Count(), 3u);
}

TEST_F(ExcludeCommandTest, AnsweringYesExcludesTheTickedRowsAndDropsThemFromEveryList) {
    DetectedRows rows(state);
    form.lblDeletingCaption.SetCaption("c:\\old");
    state.ResultsList().ItemCheck(DetectedRows::kCookie, true);
    state.ResultsList().ItemCheck(DetectedRows::kFolder, true);
    state.ResultsList().ItemCheck(DetectedRows::kRegistry, true);
    dialogs.AnswerMessageBox(services::MsgResult::Yes);
    Click();

    EXPECT_EQ(files.Content(ExclusionPath()), "\xEF\xBB\xBF" + DetectedRows::kCookiePath +
                                                  "\r\nuser@ads.example[1].txt\r\n" +
                                                  "HKEY_LOCAL_MACHINE\\Software\\Adco\r\nAdco Toolbar\r\n" +
                                                  DetectedRows::kFolderPath + "\r\nSpyCo Threat Directory\r\n");
    EXPECT_TRUE(exclusions.IsExcluded(DetectedRows::kCookiePath));
    EXPECT_TRUE(exclusions.IsExcludedFolder("c:\\program files\\spyco"));

    EXPECT_EQ(RowTexts(state.ResultsList()), (Strings{"Spy Threat", "Other Threat"}));
    EXPECT_EQ(RowTexts(state.FileQueue()), (Strings{DetectedRows::kExePath, DetectedRows::kOtherExePath}));
    EXPECT_TRUE(state.CookieQueue().Empty());
    EXPECT_TRUE(state.RegistryQueue().Empty());
    EXPECT_EQ(state.ActivityList().Count(), 5u);
    EXPECT_EQ(form.lblDeletingCaption.Caption(), "");
}

TEST_F(ExcludeCommandTest, AnsweringYesWithNothingTickedLeavesTheFileAlone) {
    state.AddExcludedRow("C:\\x.exe");
    dialogs.AnswerMessageBox(services::MsgResult::Yes);
    Click();
    EXPECT_FALSE(files.HasFile(ExclusionPath()));
    EXPECT_EQ(state.ActivityList().Count(), 1u);
}

}  // namespace
}  // namespace bastion
