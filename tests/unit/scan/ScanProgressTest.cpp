#include "scan/state/ScanProgress.h"

#include <gtest/gtest.h>

#include "scan/state/ScanState.h"

namespace bastion {
namespace {

struct ScanProgressTest : ::testing::Test {
    ui::FrmMain form;
    ScanState state{form};

    void SetCounters(std::int32_t value) {
        state.counters = {value, value + 1, value + 2, value + 3};
    }
    std::vector<std::string> Display() const {
        return {form.lblMemoryInspected.Caption(),   form.lblRegistryInspected.Caption(),
                form.lblFilesFolderInspected.Caption(), form.lblSoftwareFound.Caption(),
                form.lblRemovePicSoftwareFound.Caption(), form.lblStatus.Caption(),
                std::to_string(form.pb1.Value()),     std::to_string(form.pb2.Value())};
    }
};

TEST_F(ScanProgressTest, OnlyEveryTwentyFifthReportChangesTheDisplay) {
    const auto before = Display();
    for (int call = 1; call <= 24; ++call) {
        SetCounters(call);
        ShowScanProgress(state, "item " + std::to_string(call), 10, 20);
    }
    EXPECT_EQ(Display(), before);

    SetCounters(100);
    ShowScanProgress(state, "item 25", 30, 40);
    EXPECT_EQ(Display(), (std::vector<std::string>{"100", "101", "102", "103", "103", "item 25",
                                                   std::to_string(30.0), std::to_string(40.0)}));

    // The count starts again after a refresh.
    const auto shown = Display();
    for (int call = 1; call <= 24; ++call) {
        SetCounters(200);
        ShowScanProgress(state, "later", 50, 50);
    }
    EXPECT_EQ(Display(), shown);
    ShowScanProgress(state, "later", 50, 50);
    EXPECT_EQ(form.lblMemoryInspected.Caption(), "200");
}

TEST_F(ScanProgressTest, NegativeOrOutOfRangePercentageLeavesItsBar) {
    ShowScanProgressNow(state, "a", 30, 40);
    ShowScanProgressNow(state, "b", -1, 60);
    EXPECT_EQ(form.pb1.Value(), 30);
    EXPECT_EQ(form.pb2.Value(), 60);
    ShowScanProgressNow(state, "c", 70, -1);
    EXPECT_EQ(form.pb1.Value(), 70);
    EXPECT_EQ(form.pb2.Value(), 60);
    // Beyond the bar's maximum: refused, the rest of the display still moves.
    state.counters.itemsFound = 5;
    ShowScanProgressNow(state, "d", 250, 32767);
    EXPECT_EQ(form.pb1.Value(), 70);
    EXPECT_EQ(form.pb2.Value(), 60);
    EXPECT_EQ(form.lblSoftwareFound.Caption(), "5");
    EXPECT_EQ(form.lblStatus.Caption(), "d");
}

TEST_F(ScanProgressTest, ImmediateDisplayFiltersTheTextAndKeepsTheThrottle) {
    state.throttle = 7;
    ShowScanProgressNow(state, "C:\\SexyPorn\\setup.exe", 1, 2);
    EXPECT_EQ(form.lblStatus.Caption(), "C:\\y\\setup.exe");
    EXPECT_EQ(state.throttle, 7);
}

TEST_F(ScanProgressTest, RefreshShowsCountersOnlyAndRestartsTheThrottle) {
    ShowScanProgressNow(state, "status", 10, 20);
    state.throttle = 24;
    SetCounters(9);
    RefreshCounterLabels(state);
    EXPECT_EQ(Display(), (std::vector<std::string>{"9", "10", "11", "12", "12", "status",
                                                   std::to_string(10.0), std::to_string(20.0)}));
    EXPECT_EQ(state.throttle, 0);
}

}  // namespace
}  // namespace bastion
