// The indexed matchers against a plain pass over every row, on generated
// tables and walks: the same rows, in the same order, for every item.
#include <gtest/gtest.h>

#include <random>

#include "scan/files/FolderMatchers.h"
#include "support/RowByRowMatchers.h"
#include "support/ScanHarness.h"

namespace bastion {
namespace {

using testing::ScanHarness;

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    template <typename T>
    const T& Pick(const std::vector<T>& from) {
        return from[random_() % from.size()];
    }
    bool Chance(int percent) { return static_cast<int>(random_() % 100) < percent; }

    std::string FolderPath(int maxDepth, bool trailing) {
        static const std::vector<std::string> drives = {"C:", "D:", "c:", "E:", ""};
        static const std::vector<std::string> names = {"Program Files", "SpyCo", "WINDOWS", "system32", "System",
                                                       "drivers",       "bin",   "plugins", "a",        "b",
                                                       "Temp",          "spyco", "windows2"};
        std::string path = Pick(drives);
        const int depth = static_cast<int>(random_() % static_cast<unsigned>(maxDepth + 1));
        for (int i = 0; i < depth; ++i) path += "\\" + Pick(names);
        if (trailing || depth == 0) path += "\\";
        return path;
    }

private:
    std::mt19937 random_;
};

void FillTables(Generator& g, DefinitionTables& tables, int rows) {
    // "[drive]" as definitions write it: with a backslash after it and
    // without, in any case, alone, and in a name.
    static const std::vector<std::string> names = {
        "x.dll", "spy.exe", "longspywarename.exe", "a.ocx", "[drive]x.dll", "X.DLL", " spy.exe ", "c:x.dll",
        "toolbar.dll", "anotherlongname.exe", "[drive]", "windowsupdate.dll"};
    static const std::vector<std::string> fileFolders = {
        "c:\\program files\\spyco\\", "c:\\windows\\system32\\", "c:\\windows\\", "[drive]\\", "[drive]\\spyco\\",
        "c:\\spyco\\", "d:\\a\\b\\temp\\spyco\\", "c:\\windows\\system32\\drivers\\", "",
        "c:\\program files\\spyco\\bin\\plugins\\", "e:\\temp\\", "c:\\windows2\\system32\\drivers\\",
        "[drive]spyco\\", "[Drive]program files\\spyco\\", "[drive]windows\\system32\\", "[drive]a\\b\\temp\\spyco\\"};
    static const std::vector<std::string> dirFolders = {
        "c:\\program files\\spyco", "[drive]\\spyco", "c:\\windows\\system32\\spyco", "[drive]\\a\\b\\temp\\spyco",
        "d:\\spyco\\", "c:", "[drive]", "c:\\windows", "C:\\Program Files\\SpyCo\\bin", "[DRIVE]\\temp\\",
        "\\spyco", "[drive]spyco", "[drive]a\\b\\temp\\spyco", "[DRIVE]Temp\\", "[drive]windows\\system32\\spyco"};
    tables.Create();
    for (int i = 0; i < rows; ++i) {
        const std::string threat = std::string("T").append(std::to_string(i));
        const std::string type = g.Chance(50) ? "Adware" : "";
        tables.Files().Add({g.Chance(1) ? "" : g.Pick(names), g.Pick(fileFolders), type, threat});
        tables.Directories().Add({"label", g.Chance(1) ? "" : g.Pick(dirFolders), type, threat});
    }
}

TEST(FolderMatchersPropertyTest, IndexedMatchersGiveExactlyTheRowsOfARowByRowPass) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        Generator g(seed);
        ScanHarness harness;
        FillTables(g, harness.tables, 40 + static_cast<int>(seed) * 30);
        harness.safety.Assign({"C:\\Program Files\\SpyCo\\x.dll", "D:\\SpyCo"});
        harness.exclusions.Assign({"c:\\windows\\system32\\spy.exe", "C:\\Temp\\SpyCo"});
        harness.machine.files.AddFile("C:\\Program Files\\SpyCo\\bin\\toolbar.dll",
                                      testing::ProgramWithCompany("Microsoft Corporation"));

        ScanState referenceState;
        ScanContext indexed = harness.Context();
        ScanContext reference{harness.machine.files, indexed.codePage, harness.machine.system, harness.dataFolder,
                              harness.tokens,        harness.safety,   harness.exclusions,     referenceState,
                              harness.pump,          harness.tables,   harness.machine.registry,
                              harness.machine.shell, harness.machine.processes};

        static const std::vector<std::string> walkedNames = {
            "x.dll", "X.DLL", "spy.exe", "longspywarename.exe", "a.ocx", "c:x.dll", "d:x.dll", "toolbar.dll",
            "anotherlongname.exe", "other.txt", " spy.exe", "windowsupdate.dll"};
        for (int item = 0; item < 200; ++item) {
            const std::string file = g.FolderPath(6, true) + g.Pick(walkedNames);
            MatchFoundFile(indexed, file);
            testing::RowByRowMatchFoundFile(reference, file);
            const std::string folder = g.FolderPath(6, true);
            MatchFoundDirectory(indexed, folder);
            testing::RowByRowMatchFoundDirectory(reference, folder);
            ASSERT_EQ(harness.state.Results().activity.size(), referenceState.Results().activity.size())
                << "seed " << seed << ": " << file << " or " << folder;
        }
        EXPECT_EQ(harness.state.Results().activity, referenceState.Results().activity) << "seed " << seed;
        EXPECT_EQ(harness.Detections(), testing::DescribedDetections(referenceState.Results())) << "seed " << seed;
        EXPECT_EQ(harness.state.counters, referenceState.counters);
        EXPECT_GT(harness.state.counters.itemsFound, 20) << "seed " << seed;
    }
}

}  // namespace
}  // namespace bastion
