#include "definitions/DefinitionTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bastion {
namespace {

std::vector<std::size_t> Matches(const DefinitionTable& table, std::string_view key, std::string_view drive) {
    std::vector<std::size_t> rows;
    table.ForEachMatch(key, drive, [&](std::size_t row, const DefinitionRow&) {
        rows.push_back(row);
        return true;
    });
    return rows;
}

TEST(DefinitionTablesTest, GrowPastTheOldFixedSizeWithoutLosingRows) {
    DefinitionTables tables;
    tables.Create();
    for (int i = 0; i < 100'005; ++i) {
        tables.Files().Add({"spy" + std::to_string(i) + ".dll", "c:\\spy\\", "Adware", "Spy"});
    }
    EXPECT_EQ(Matches(tables.Files(), "spy100004.dll", "c:"), std::vector<std::size_t>{100'004});
    EXPECT_EQ(tables.FileName(100'004), "spy100004.dll");
}

TEST(DefinitionTablesTest, ARowWithAnEmptyKeyMatchesNothingAndTheRowsAfterItStillMatch) {
    DefinitionTable files(TableKey::FileName);
    files.Add({"x.dll", "c:\\a\\", "", "A"});
    files.Add({"", "c:\\b\\", "", "B"});
    files.Add({"  ", "c:\\b\\", "", "B"});
    files.Add({"x.dll", "c:\\c\\", "", "C"});
    files.Add({"[drive]x.dll", "c:\\d\\", "", "D"});
    EXPECT_EQ(Matches(files, "x.dll", "c:"), (std::vector<std::size_t>{0, 3}));
    EXPECT_EQ(Matches(files, "c:x.dll", "c:"), std::vector<std::size_t>{4});
    EXPECT_TRUE(Matches(files, "", "c:").empty());
}

TEST(DefinitionTablesTest, DriveRowsComeInRowOrderWithTheOthersAndOnlyOnTheirDrive) {
    DefinitionTable directories(TableKey::DirFolder);
    directories.Add({"a", "c:\\spy", "", "A"});
    directories.Add({"b", "[drive]\\spy\\", "", "B"});
    directories.Add({"c", "c:\\spy\\", "", "C"});
    directories.Add({"d", "[DRIVE]\\SPY", "", "D"});
    directories.Add({"e", "d:\\spy", "", "E"});
    EXPECT_EQ(Matches(directories, "c:\\spy", "c:"), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(Matches(directories, "d:\\spy", "d:"), (std::vector<std::size_t>{1, 3, 4}));
    // A "[drive]" row that comes out empty for a drive is passed over
    // there, for that drive's items only.
    directories.Add({"f", "[drive]", "", "F"});
    directories.Add({"g", "d:\\spy", "", "G"});
    EXPECT_EQ(Matches(directories, "d:\\spy", ""), (std::vector<std::size_t>{4, 6}));
    EXPECT_EQ(Matches(directories, "d:\\spy", "d:"), (std::vector<std::size_t>{1, 3, 4, 6}));
}

TEST(DefinitionTablesTest, AStopAfterTheFirstCandidateEndsTheWalk) {
    DefinitionTable files(TableKey::FileName);
    files.Add({"x.dll", "", "", "A"});
    files.Add({"[drive]", "", "", "B"});
    files.Add({"x.dll", "", "", "C"});
    int calls = 0;
    files.ForEachMatch("x.dll", "x.dll", [&](std::size_t, const DefinitionRow&) {
        ++calls;
        return false;
    });
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace bastion
