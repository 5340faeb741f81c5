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

TEST_F(ResultChecksTest, ARegistryRowAlsoBelongsByItsKeyPath) {
    state.AddRegistryQueueRow(platform::Hive::CurrentUser, "Key Threat", "v", "", platform::RegView::Bits64);
    state.ReportDetection("Key Threat", "HKEY_CURRENT_USER\\Key Threat\\v", "", ui::kIconRegistry);
    Tick(state.ResultsList().Last());
    EXPECT_EQ(CheckedTexts(state.RegistryQueue()), Strings{"-2147483647"});
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
