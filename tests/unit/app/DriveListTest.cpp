#include "app/DriveList.h"

#include <gtest/gtest.h>

#include "support/FakeRegistry.h"
#include "ui/forms/FrmMain.h"

namespace bastion {
namespace {

TEST(DriveListTest, DriveTicksAreStoredForEveryRowAndRestoredTickedByDefault) {
    testing::FakeRegistry registry;
    services::SettingsStore settings(registry, "Testwall");
    ui::FrmMain form;
    ui::ListView& drives = form.lvwHardDrives;
    for (const char* letter : {"A", "C", "E"}) drives.Add(letter);

    RestoreDriveTicks(drives, settings);
    EXPECT_TRUE(drives.Item(0).checked && drives.Item(1).checked && drives.Item(2).checked);

    drives.SetChecked(1, false);
    StoreDriveTicks(drives, settings);
    EXPECT_EQ(settings.ReadSetting("Drives", "A", ""), "True");
    EXPECT_EQ(settings.ReadSetting("Drives", "C", ""), "False");
    EXPECT_EQ(settings.ReadSetting("Drives", "E", ""), "True");
    EXPECT_EQ(TickedDriveRoots(drives), (std::vector<std::string>{"A:\\", "E:\\"}));

    ui::FrmMain later;
    for (const char* letter : {"A", "C", "E", "F"}) later.lvwHardDrives.Add(letter);
    RestoreDriveTicks(later.lvwHardDrives, settings);
    std::vector<bool> ticks;
    for (const ui::ListItem& row : later.lvwHardDrives.Rows()) ticks.push_back(row.checked);
    EXPECT_EQ(ticks, (std::vector<bool>{true, false, true, true}));
}

}  // namespace
}  // namespace bastion
