#include "scan/state/ScanPercent.h"

#include <gtest/gtest.h>

namespace bastion {
namespace {

TEST(ScanPercent, RoundsHalvesToEvenAndGuardsAZeroTotal) {
    EXPECT_EQ(Percent(1, 8), 12);  // 12.5
    EXPECT_EQ(Percent(3, 8), 38);  // 37.5
    EXPECT_EQ(Percent(2, 3), 67);
    EXPECT_EQ(Percent(5, 0), 0);
    EXPECT_EQ(Percent(0, 0), 0);
    EXPECT_EQ(Percent(5, -3), 0);
    // Far beyond 16 bits: held at the edge, which no progress bar accepts.
    EXPECT_EQ(Percent(1'000'000, 1), 32767);
    EXPECT_EQ(Percent(-1'000'000, 1), -32768);
}

TEST(ScanPercent, OverallCountsTheEarlierPhasesInOrder) {
    DefinitionCounts lines;
    lines.cookies = 10;
    lines.executables = 20;
    lines.registry = 30;
    lines.files = 40;
    lines.total = 100;
    EXPECT_EQ(PhasePercent(lines, ScanPhase::Registry, 15), 50);
    EXPECT_EQ(OverallPercent(lines, ScanPhase::Cookies, 5), 5);
    EXPECT_EQ(OverallPercent(lines, ScanPhase::Processes, 5), 15);
    EXPECT_EQ(OverallPercent(lines, ScanPhase::Registry, 15), 45);
    EXPECT_EQ(OverallPercent(lines, ScanPhase::Files, 40), 100);
    // Before any definitions were counted nothing divides by zero.
    EXPECT_EQ(PhasePercent(DefinitionCounts{}, ScanPhase::Files, 7), 0);
    EXPECT_EQ(OverallPercent(DefinitionCounts{}, ScanPhase::Files, 7), 0);
}

}  // namespace
}  // namespace bastion
