#include "scan/state/ScanState.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/ScanHarness.h"

namespace bastion {
namespace {

struct ScanStateTest : ::testing::Test {
    testing::RecordedProgress progress;
    ScanState state;
};

TEST_F(ScanStateTest, ABeginningEmptiesTheResultsButKeepsTheLineCountsAndTheStopFlag) {
    state.Begin(progress);
    state.ReportDetection(DetectionKind::File, "Spy", "Adware", "C:\\spy.exe", FileItem{"C:\\spy.exe"});
    state.CountTrace();
    state.counters.filesInspected = 12;
    state.definitions.total = 500;
    state.RequestStop();
    const ScanResults first = state.End();
    EXPECT_FALSE(state.ScanInProgress());

    state.Begin(progress);
    EXPECT_TRUE(state.ScanInProgress());
    EXPECT_TRUE(state.Results().detections.empty());
    EXPECT_TRUE(state.Results().activity.empty());
    EXPECT_EQ(state.counters, ScanCounters{});
    // Line counts belong to the definition files, not to a scan; the front
    // end clears the stop flag itself when it starts a scan.
    EXPECT_EQ(state.definitions.total, 500);
    EXPECT_TRUE(state.StopRequested());

    ASSERT_EQ(first.detections.size(), 1u);
    EXPECT_EQ(first.counters.filesInspected, 12);
    EXPECT_EQ(first.counters.traces, 1);
}

TEST_F(ScanStateTest, ADetectionIsLoggedFoundAndCountedOnceWithAnIdOfItsOwnInEveryScan) {
    state.Begin(progress);
    state.ReportDetection(DetectionKind::Folder, "SpyCo", "Toolbar", "C:\\SpyCo", FileItem{"C:\\SpyCo"});
    state.AddExcluded("C:\\mine.exe");
    const ScanResults first = state.End();
    state.Begin(progress);
    state.ReportDetection(DetectionKind::File, "SpyCo", "Rootkit", "C:\\SpyCo\\x.exe", FileItem{"C:\\SpyCo\\x.exe"});

    ASSERT_EQ(first.detections.size(), 1u);
    const Detection& folder = first.detections[0];
    EXPECT_EQ(folder.kind, DetectionKind::Folder);
    EXPECT_EQ(folder.type, (ThreatType{"Toolbar", "Medium/High",
                                       "Attaches itself to your browser and can be intrusive or spyware"}));
    EXPECT_EQ(first.activity, (std::vector<ActivityEntry>{{ActivityKind::Folder, "SpyCo", "C:\\SpyCo"},
                                                          {ActivityKind::Excluded, "EXCLUDED", "C:\\mine.exe"}}));
    EXPECT_EQ(first.counters.itemsFound, 1) << "an excluded item is not counted";

    const Detection& file = state.Results().detections.at(0);
    EXPECT_NE(file.id, folder.id) << "ids stay apart from one scan to the next";
    EXPECT_EQ(file.type, (ThreatType{"Rootkit", "", ""})) << "a type the catalogue lacks";
    EXPECT_EQ(state.Results().Find(file.id), &file);
    EXPECT_EQ(state.Results().Find(folder.id), nullptr);
}

TEST(ScanCounters, CountOneStopsAtTheLargestValue) {
    std::int32_t counter = std::numeric_limits<std::int32_t>::max() - 1;
    CountOne(counter);
    CountOne(counter);
    EXPECT_EQ(counter, std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace bastion
