#include "scan/state/ResultChecks.h"

#include <gtest/gtest.h>

#include "DetectedRows.h"

namespace bastion {
namespace {

using testing::CheckedTexts;
using testing::DetectedRows;
using Strings = std::vector<std::string>;

struct ResultChecksTest : ::testing::Test {
    ResultChecksTest() { BindResultChecks(state); }

    void Tick(std::size_t row, bool checked = true) { state.ResultsList().ItemCheck(row, checked); }

    ui::FrmMain form;
    ScanState state{form};
    DetectedRows rows{state};
};

TEST_F(ResultChecksTest, ATickReachesExactlyTheQueueRowsOfItsKindOfDetection) {
    Tick(DetectedRows::kCookie);
    EXPECT_EQ(CheckedTexts(state.CookieQueue()), Strings{DetectedRows::kCookiePath});
    EXPECT_EQ(CheckedTexts(state.FileQueue()), Strings{});

    Tick(DetectedRows::kRegistry);
    EXPECT_EQ(CheckedTexts(state.RegistryQueue()), Strings{"-2147483646"});

    Tick(DetectedRows::kFile);
    EXPECT_EQ(CheckedTexts(state.FileQueue()), Strings{DetectedRows::kExePath});

    Tick(DetectedRows::kFolder);
    EXPECT_EQ(CheckedTexts(state.FileQueue()), (Strings{DetectedRows::kExePath, DetectedRows::kFolderPath}));

    Tick(DetectedRows::kFile, false);
    Tick(DetectedRows::kCookie, false);
    EXPECT_EQ(CheckedTexts(state.FileQueue()), Strings{DetectedRows::kFolderPath});
    EXPECT_EQ(CheckedTexts(state.CookieQueue()), Strings{});
    // The activity list is no queue: ticks never reach it.
    EXPECT_EQ(CheckedTexts(state.ActivityList()), Strings{});
}

TEST_F(ResultChecksTest, ATickReachesOnlyTheRowsItsDetectionQueuedWhateverTheOrder) {
    // Two files of one threat, and one key found in both registry views.
    ui::FrmMain other;
    ScanState fresh{other};
    BindResultChecks(fresh);
    fresh.AddFileQueueRow("C:\\A\\spy.exe", "Spy");
    fresh.ReportDetection("Spy", "C:\\A\\spy.exe", "", ui::kIconFile);
    fresh.AddFileQueueRow("C:\\B\\spy.exe", "Spy");
    fresh.ReportDetection("Spy", "C:\\B\\spy.exe", "", ui::kIconFile);
    for (platform::RegView view : {platform::RegView::Bits64, platform::RegView::Bits32}) {
        fresh.AddRegistryQueueRow(platform::Hive::LocalMachine, "Software\\Adco", "", "", view);
        fresh.ReportDetection("RegKey Software\\Adco", RegistryLocationInView("HKEY_LOCAL_MACHINE\\Software\\Adco", view),
                              "", ui::kIconRegistry);
    }
    // A value queued without a listed threat belongs to no results row.
    fresh.AddRegistryQueueRow(platform::Hive::CurrentUser, "Software\\Adco", "v", "", platform::RegView::Bits64);
    fresh.ResultsList().Sort(1, false);  // the 32-bit key, the 64-bit key, B, A

    fresh.ResultsList().ItemCheck(2, true);
    EXPECT_EQ(CheckedTexts(fresh.FileQueue()), Strings{"C:\\B\\spy.exe"});
    fresh.ResultsList().ItemCheck(1, true);
    ASSERT_EQ(CheckedTexts(fresh.RegistryQueue()).size(), 1u);
    EXPECT_TRUE(fresh.RegistryQueue().Item(0).checked) << "the 64-bit find only";
    cmdSelectAll_Click(fresh);
    EXPECT_FALSE(fresh.RegistryQueue().Item(2).checked) << "the unlisted value stays";
}

TEST_F(ResultChecksTest, SelectAllTicksEveryRowAndItsQueueRows) {
    Tick(DetectedRows::kFile);
    cmdSelectAll_Click(state);
    for (const ui::ListItem& item : state.ResultsList().Rows()) {
        EXPECT_TRUE(item.checked) << item.text;
    }
    EXPECT_EQ(CheckedTexts(state.FileQueue()).size(), state.FileQueue().Count());
    EXPECT_EQ(CheckedTexts(state.RegistryQueue()).size(), 1u);
    EXPECT_EQ(CheckedTexts(state.CookieQueue()).size(), 1u);
}

}  // namespace
}  // namespace bastion
