// Pause, Stop, sorting the activity list and browsing to ticked results.
#include <gtest/gtest.h>

#include "ControllerHarness.h"

namespace bastion {
namespace {

using testing::ControllerHarness;
using testing::ShellCall;
using Strings = std::vector<std::string>;

struct ScanCommandsTest : ::testing::Test, ControllerHarness {
    ScanCommandsTest() { dialogs.FailOnUnscriptedQuestion(); }
    void ScanRunning() {
        form.cmdPause.SetEnabled(true);
        form.cmdStop.SetEnabled(true);
    }
};

TEST_F(ScanCommandsTest, PauseHoldsTheScanInABoxWithPauseAndStopDisabledMeanwhile) {
    ScanRunning();
    bool disabledWhileShown = false;
    bool listingHeldWhileShown = false;
    dialogs.AnswerMessageBox(services::MsgResult::Ok, [&] {
        disabledWhileShown = !form.cmdPause.Enabled() && !form.cmdStop.Enabled();
        listingHeldWhileShown = state.PauseRequested();
    });
    controller.cmdPause_Click();

    ASSERT_EQ(dialogs.Asked().size(), 1u);
    EXPECT_EQ(dialogs.Asked()[0].text, "Testwall has been paused.  Click OK to resume.");
    EXPECT_EQ(dialogs.Asked()[0].title, "Testwall");
    EXPECT_EQ(dialogs.Asked()[0].icon, services::MsgIcon::Information);
    EXPECT_TRUE(disabledWhileShown);
    EXPECT_TRUE(listingHeldWhileShown) << "the walk's listing threads are held too";
    EXPECT_FALSE(state.PauseRequested());
    EXPECT_TRUE(form.cmdPause.Enabled());
    EXPECT_TRUE(form.cmdStop.Enabled());
}

TEST_F(ScanCommandsTest, StopAsksAndOnlyYesSetsTheStopFlag) {
    ScanRunning();
    dialogs.AnswerMessageBox(services::MsgResult::No);
    controller.cmdStop_Click();
    EXPECT_FALSE(state.StopRequested());
    EXPECT_EQ(dialogs.Asked()[0].text, "Are you sure you want to stop the scan?");
    EXPECT_EQ(dialogs.Asked()[0].buttons, services::MsgButtons::YesNo);
    EXPECT_EQ(dialogs.Asked()[0].title, "Testwall");

    dialogs.AnswerMessageBox(services::MsgResult::Yes);
    controller.lblStop_Click();
    EXPECT_TRUE(state.StopRequested());
    EXPECT_EQ(dialogs.Asked()[1].text, "Are you sure?");
}

TEST_F(ScanCommandsTest, ThePauseAndStopLabelsDoNothingOutsideAScan) {
    controller.lblPause_Click();
    controller.lblStop_Click();
    EXPECT_TRUE(dialogs.Asked().empty());
    EXPECT_FALSE(form.cmdPause.Enabled());
    EXPECT_FALSE(form.cmdStop.Enabled());
}

TEST_F(ScanCommandsTest, ColumnClicksSortTheActivityListRisingFirstThenTurningTheOrder) {
    state.Begin(presenter);
    for (const char* name : {"b", "C", "a"}) state.AddActivity(ActivityKind::File, name, std::string("x") + name);
    presenter.Show(state.End());
    auto texts = [&] {
        Strings out;
        for (const ui::ListItem& row : form.lvwSpywareFound.Rows()) out.push_back(row.text);
        return out;
    };
    controller.lvwSpywareFound_ColumnClick(0);
    EXPECT_EQ(texts(), (Strings{"a", "b", "C"}));
    controller.lvwSpywareFound_ColumnClick(0);
    EXPECT_EQ(texts(), (Strings{"C", "b", "a"}));
    controller.lvwSpywareFound_ColumnClick(1);
    EXPECT_EQ(texts(), (Strings{"a", "b", "C"}));
    EXPECT_EQ(form.lvwSpywareFound.SortKey(), 1);

    dialogs.AnswerMessageBox(services::MsgResult::Ok);
    controller.lvwSpywareFound_ColumnClick(7);
    EXPECT_EQ(dialogs.Asked()[0].text, "Error in Function : EnhListView_SortColumns 380");
}

struct BrowseTest : ScanCommandsTest {
    // Seven ticked rows and one not: files, a folder, a registry entry.
    BrowseTest() {
        state.Begin(presenter);
        auto file = [&](const std::string& name, const std::string& path) {
            state.ReportDetection(DetectionKind::File, name, "", path, FileItem{path});
        };
        for (int i = 1; i <= 5; ++i) file("Spy", "C:\\spy" + std::to_string(i) + ".exe");
        file("Unticked", "C:\\skip.exe");
        state.ReportDetection(DetectionKind::Folder, "Folder", "", "C:\\Spy Folder", FileItem{"C:\\Spy Folder"});
        state.ReportDetection(DetectionKind::Registry, "Key", "", "HKEY_CURRENT_USER\\Software\\Spy",
                              RegistryItem{platform::Hive::CurrentUser, "Software\\Spy", "", platform::RegView::Bits64});
        presenter.Show(state.End());
        presenter.SelectAll();
        Results().SetChecked(5, false);
    }
    std::size_t Opened() const { return scan.machine.shell.calls.size(); }
};

TEST_F(BrowseTest, OpensEveryTickedRowMinimizedAskingOnceAfterTheSixth) {
    std::size_t openedWhenAsked = 0;
    dialogs.AnswerMessageBox(services::MsgResult::Ok, [&] { openedWhenAsked = Opened(); });
    controller.cmdBrowse_Click();

    EXPECT_EQ(openedWhenAsked, 6u);
    ASSERT_EQ(dialogs.Asked().size(), 1u);
    EXPECT_EQ(dialogs.Asked()[0].text,
              "You have selected to browse more than 5 items at a time.  This can slow down your computer.  Are you "
              "sure you want to continue?");
    EXPECT_EQ(dialogs.Asked()[0].buttons, services::MsgButtons::OkCancel);
    const auto& calls = scan.machine.shell.calls;
    ASSERT_EQ(calls.size(), 7u);
    // A detected program is shown in its folder, never started.
    const std::string explorer = "\"C:\\WINDOWS\\explorer.exe\" ";
    EXPECT_EQ(calls[0], (ShellCall{ShellCall::Kind::StartProgram, explorer + "/select,\"C:\\spy1.exe\"",
                                   platform::ShowWindow::Minimized}));
    EXPECT_EQ(calls[5].target, explorer + "\"C:\\Spy Folder\"");
    EXPECT_EQ(calls[6].target, explorer + "\"HKEY_CURRENT_USER\\Software\\Spy\"");
}

TEST_F(BrowseTest, CancelAfterTheSixthEndsTheLoop) {
    dialogs.AnswerMessageBox(services::MsgResult::Cancel);
    controller.cmdBrowse_Click();
    EXPECT_EQ(Opened(), 6u);
}

}  // namespace
}  // namespace bastion
