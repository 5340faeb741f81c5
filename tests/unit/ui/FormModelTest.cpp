#include <gtest/gtest.h>

#include "ui/forms/FrmMain.h"

namespace bastion::ui {
namespace {

TEST(FormModel, ControlsKnowTheirFormNameIndexAndType) {
    FrmMain form;
    Control* option = form.Find("optScan", 2);
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(&option->Owner(), &form);
    EXPECT_STREQ(option->TypeName(), "OptionButton");
    EXPECT_EQ(option->Index(), 2);
    EXPECT_EQ(form.Find("lblStatus", 0), &form.lblStatus);
    EXPECT_EQ(form.Find("cmdScanNow"), &form.cmdScanNow);
    EXPECT_EQ(form.Find("cmdScanNow", 0), nullptr);
    EXPECT_STREQ(form.lvwSpywareFound.TypeName(), "ListView");
    EXPECT_STREQ(form.mnuQuarItem[1].TypeName(), "Menu");
}

TEST(FormModel, SettingACheckBoxFiresItsClickOnlyWhenTheValueChanges) {
    FrmMain form;
    int clicks = 0;
    form.chkMakeLog.onClick = [&] { ++clicks; };
    form.chkMakeLog.SetValue(kChecked);
    form.chkMakeLog.SetValue(kChecked);
    EXPECT_EQ(clicks, 1);
    form.chkMakeLog.Click();
    EXPECT_EQ(form.chkMakeLog.Value(), kUnchecked);
    EXPECT_EQ(clicks, 2);
}

TEST(FormModel, SwitchingAnOptionOnSwitchesTheOthersOfItsGroupOffWithoutTheirClicks) {
    FrmMain form;
    int fullClicks = 0;
    int smartClicks = 0;
    form.optScan[kFullSystemScan].onClick = [&] { ++fullClicks; };
    form.optScan[kSmartScan].onClick = [&] { ++smartClicks; };
    EXPECT_TRUE(form.optScan[kSmartScan].Value());
    form.optScan[kFullSystemScan].SetValue(true);
    EXPECT_FALSE(form.optScan[kSmartScan].Value());
    EXPECT_EQ(fullClicks, 1);
    EXPECT_EQ(smartClicks, 0);
    // Another group is not touched.
    form.optMemorySheildOn.SetValue(true);
    EXPECT_TRUE(form.optScan[kFullSystemScan].Value());
}

TEST(FormModel, AProgressBarRefusesAValueOutsideItsRange) {
    FrmMain form;
    EXPECT_TRUE(form.pb1.SetValue(40));
    EXPECT_FALSE(form.pb1.SetValue(101));
    EXPECT_FALSE(form.pb1.SetValue(-1));
    EXPECT_EQ(form.pb1.Value(), 40);
    EXPECT_TRUE(form.pb1.SetMax(10));
    EXPECT_EQ(form.pb1.Value(), 10);
}

TEST(FormModel, ListViewRowsCarrySubItemsChecksAndSortByAColumnIgnoringCase) {
    FrmMain form;
    ListView& list = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    list.Add("beta", kIconFile);
    list.SetSubItem(list.Last(), 2, "Adware");
    list.Add("Alpha", kIconRegistry);
    list.Add("gamma", kIconCookie);
    EXPECT_EQ(list.SubItem(0, 2), "Adware");
    EXPECT_EQ(list.SubItem(0, 4), "");
    EXPECT_EQ(list.SubItem(1, 1), "");

    std::vector<std::size_t> ticked;
    list.onItemCheck = [&](std::size_t row) { ticked.push_back(row); };
    list.SetChecked(2, true);  // no tick handling
    list.ItemCheck(0, true);   // the user's tick
    EXPECT_EQ(ticked, std::vector<std::size_t>{0});

    list.Sort(0, true);
    EXPECT_EQ(list.Item(0).text, "Alpha");
    EXPECT_EQ(list.Item(2).text, "gamma");
    list.Sort(0, false);
    EXPECT_EQ(list.Item(0).text, "gamma");
    EXPECT_TRUE(list.Item(0).checked);
}

TEST(FormModel, ChangesAreCountedSoTheWindowKnowsWhatToRedraw) {
    FrmMain form;
    auto before = form.lblStatus.ChangeCount();
    form.lblStatus.SetCaption("Scanning");
    form.lblStatus.SetCaption("Scanning");
    EXPECT_EQ(form.lblStatus.ChangeCount(), before + 1);
}

}  // namespace
}  // namespace bastion::ui
