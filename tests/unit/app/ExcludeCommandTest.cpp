#include "app/ExcludeCommand.h"

#include <gtest/gtest.h>

#include "DetectedRows.h"
#include "definitions/DataFiles.h"
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
        dialogs.FailOnUnscriptedQuestion();
    }

    void Click() { cmdExclude_Click({presenter, form, dialogs, messages, productName, file, exclusions, pump}); }
    ui::ListView& Results() { return form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved; }
    std::string ExclusionPath() const { return DataFilePath(dataFolder, datafile::kExclusions); }

    ui::FrmMain form;
    ScanState state;
    testing::FakeFileSystem files;
    std::string dataFolder = "C:\\Data";
    ExclusionFile file{files, Windows1252(), dataFolder};
    ExclusionList exclusions;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
    services::MessageCatalogue messages{testing::TestIdentity()};
    ResultsPresenter presenter{form, messages};
    std::string productName = "Testwall";
};

TEST_F(ExcludeCommandTest, WithNothingToExcludeItOnlySaysSorry) {
    dialogs.AnswerMessageBox(services::MsgResult::Ok);
    Click();
    ASSERT_EQ(dialogs.Asked().size(), 1u);
    const testing::AskedDialog& asked = dialogs.Asked()[0];
    EXPECT_EQ(asked.text, "Sorry, there are no entries to be excluded.");
    EXPECT_EQ(asked.title, "Testwall");
    EXPECT_EQ(asked.buttons, services::MsgButtons::Ok);
    EXPECT_EQ(asked.icon, services::MsgIcon::Information);
    EXPECT_FALSE(files.HasFile(ExclusionPath()));
}

TEST_F(ExcludeCommandTest, AnsweringNoChangesNothing) {
    DetectedRows rows(state, presenter);
    Results().ItemCheck(DetectedRows::kFile, true);
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
    EXPECT_EQ(Results().Count(), 5u);
}

TEST_F(ExcludeCommandTest, AnsweringYesExcludesTheTickedDetectionsByLocationAndNameAndDropsTheirRows) {
    DetectedRows rows(state, presenter);
    form.lblDeletingCaption.SetCaption("c:\\old");
    // Sorted by location: the ticks still name their detections.
    Results().Sort(1, false);
    for (std::size_t row = 0; row < Results().Count(); ++row) {
        const std::string& location = Results().SubItem(row, 1);
        if (location != DetectedRows::kExePath && location != DetectedRows::kOtherExePath) {
            Results().ItemCheck(row, true);
        }
    }
    dialogs.AnswerMessageBox(services::MsgResult::Yes);
    Click();

    // In the order the list shows them; a cookie by its file's name.
    EXPECT_EQ(files.Content(ExclusionPath()),
              "\xEF\xBB\xBF" + std::string("HKEY_LOCAL_MACHINE\\Software\\Adco\r\nAdco Toolbar\r\n") +
                  DetectedRows::kFolderPath + "\r\nSpyCo Threat Directory\r\n" + DetectedRows::kCookiePath +
                  "\r\nuser@ads.example[1].txt\r\n");
    EXPECT_TRUE(exclusions.IsExcluded(DetectedRows::kCookiePath));
    EXPECT_TRUE(exclusions.IsExcludedFolder("c:\\program files\\spyco"));

    EXPECT_EQ(RowTexts(Results()), (Strings{"Spy Threat", "Other Threat"}));
    EXPECT_EQ(form.lvwSpywareFound.Count(), 5u);
    EXPECT_EQ(form.lblDeletingCaption.Caption(), "");
}

TEST_F(ExcludeCommandTest, AnsweringYesWithNothingTickedLeavesTheFileAlone) {
    state.Begin(presenter);
    state.AddExcluded("C:\\x.exe");
    presenter.Show(state.End());
    dialogs.AnswerMessageBox(services::MsgResult::Yes);
    Click();
    EXPECT_FALSE(files.HasFile(ExclusionPath()));
    EXPECT_EQ(form.lvwSpywareFound.Count(), 1u);
}

}  // namespace
}  // namespace bastion
