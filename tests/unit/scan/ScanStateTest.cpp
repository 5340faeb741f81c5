#include "scan/state/ScanState.h"

#include <gtest/gtest.h>

#include <limits>

namespace bastion {
namespace {

struct ScanStateTest : ::testing::Test {
    ui::FrmMain form;
    ScanState state{form};

    std::vector<ui::ListView*> Lists() {
        return {&state.ActivityList(), &state.ResultsList(), &state.FileQueue(),
                &state.RegistryQueue(), &state.CookieQueue(), &state.NotFoundList()};
    }
};

TEST_F(ScanStateTest, ResetEmptiesTheListsAndZeroesCountersAndLabels) {
    for (ui::ListView* list : Lists()) {
        list->Add("row");
    }
    state.counters = {1, 2, 3, 4};
    state.throttle = 12;
    for (ui::Label* label : {&form.lblMemoryInspected, &form.lblRegistryInspected, &form.lblFilesFolderInspected,
                             &form.lblSoftwareFound, &form.lblRemovePicSoftwareFound, &form.lbltracesFound,
                             &form.lblTotalNoOfRunningItems}) {
        label->SetCaption("17");
    }
    state.definitions.total = 500;
    state.RequestStop();

    state.Reset();

    for (ui::ListView* list : Lists()) {
        EXPECT_TRUE(list->Empty()) << list->Name();
    }
    EXPECT_EQ(state.counters.processesInspected + state.counters.registryInspected +
                  state.counters.filesInspected + state.counters.itemsFound,
              0);
    EXPECT_EQ(state.throttle, 0);
    for (ui::Label* label : {&form.lblMemoryInspected, &form.lblRegistryInspected, &form.lblFilesFolderInspected,
                             &form.lblSoftwareFound, &form.lblRemovePicSoftwareFound, &form.lbltracesFound,
                             &form.lblTotalNoOfRunningItems}) {
        EXPECT_EQ(label->Caption(), "0") << label->Name();
    }
    // Line counts belong to the definition files, not to a scan.
    EXPECT_EQ(state.definitions.total, 500);
    // The controller clears the stop flag itself when a scan starts.
    EXPECT_TRUE(state.StopRequested());
}

TEST_F(ScanStateTest, DetectionGoesToBothVisibleListsAndCountsOnce) {
    state.ReportDetection("Spy Threat", "C:\\spy.exe", "Adware", ui::kIconFile);
    state.ReportDetection("Other", "C:\\Spy", "", ui::kIconFolder);

    const ui::ListView& activity = state.ActivityList();
    ASSERT_EQ(activity.Count(), 2u);
    EXPECT_EQ(activity.Item(0).text, "Spy Threat");
    EXPECT_EQ(activity.Item(0).smallIcon, ui::kIconFile);
    EXPECT_EQ(activity.SubItem(0, 1), "C:\\spy.exe");

    const ui::ListView& results = state.ResultsList();
    ASSERT_EQ(results.Count(), 2u);
    EXPECT_EQ(results.Item(0).icon, ui::kIconFile);
    EXPECT_EQ(results.SubItem(0, 2), "Adware");
    EXPECT_EQ(results.Item(1).smallIcon, ui::kIconFolder);
    EXPECT_EQ(results.SubItem(1, 1), "C:\\Spy");
    EXPECT_EQ(results.SubItem(1, 2), "");

    EXPECT_EQ(state.counters.itemsFound, 2);
    EXPECT_TRUE(state.FileQueue().Empty());
}

TEST_F(ScanStateTest, ExcludedRowIsShownButNeitherCountedNorQueued) {
    state.AddExcludedRow("C:\\mine.exe");
    ASSERT_EQ(state.ActivityList().Count(), 1u);
    EXPECT_EQ(state.ActivityList().Item(0).text, "EXCLUDED");
    EXPECT_EQ(state.ActivityList().Item(0).smallIcon, ui::kIconExcluded);
    EXPECT_EQ(state.ActivityList().SubItem(0, 1), "C:\\mine.exe");
    EXPECT_EQ(state.counters.itemsFound, 0);
    EXPECT_TRUE(state.ResultsList().Empty());
}

TEST_F(ScanStateTest, TracesCaptionCountsUpFromWhatItShows) {
    state.IncrementTracesFound();
    state.IncrementTracesFound();
    EXPECT_EQ(form.lbltracesFound.Caption(), "2");
    form.lbltracesFound.SetCaption("not a number");
    state.IncrementTracesFound();
    EXPECT_EQ(form.lbltracesFound.Caption(), "1");
}

TEST(ScanCounters, CountOneStopsAtTheLargestValue) {
    std::int32_t counter = std::numeric_limits<std::int32_t>::max() - 1;
    CountOne(counter);
    CountOne(counter);
    EXPECT_EQ(counter, std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace bastion
