#include "scan/processes/ExecutablePaths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "definitions/DefinitionRecords.h"

namespace bastion {
namespace {

// The search the list stands for: "|" + path + "|" or "\" + name + "|"
// anywhere in its text.
bool Searched(const std::string& text, const std::string& path, const std::string& name) {
    if (text.empty() || name.empty()) return false;
    return text.find("|" + path + "|") != std::string::npos || text.find("\\" + name + "|") != std::string::npos;
}

// Lines whose names hold the separators themselves, a name without a folder
// and one without a name: the noted pieces answer as the search does.
TEST(ExecutablePathsTest, MatchesAnswersAsASearchOfTheWholeListWould) {
    ExecutablePathList list;
    for (const char* line : {"evil.exe=Evil|C:\\A", "bad.exe=Bad|", "a|b.exe=Split|C:\\F", "dir\\inner.exe=Deep|C:\\G",
                             "=Nameless|C:\\H", "no separator", "twice.exe=One|C:\\T1", "twice.exe=Two|C:\\T2"}) {
        list.Add(ParseExeDefinition(line), PathTokens());
    }
    list.Finish();
    const std::vector<std::pair<std::string, std::string>> running = {
        {"C:\\A\\EVIL.EXE", "EVIL.EXE"},   {"D:\\B\\EVIL.EXE", "EVIL.EXE"}, {"C:\\X\\BAD.EXE", "BAD.EXE"},
        {"C:\\A\\NOTEVIL.EXE", "NOTEVIL.EXE"}, {"C:\\F\\A", "A"},           {"C:\\Q\\B.EXE", "B.EXE"},
        {"C:\\Q\\A|B.EXE", "A|B.EXE"},     {"C:\\Q\\INNER.EXE", "INNER.EXE"}, {"C:\\G\\DIR", "DIR"},
        {"C:\\H\\", ""},                   {"C:\\T2\\TWICE.EXE", "TWICE.EXE"}, {"C:\\T3\\TWICE.EXE", "TWICE.EXE"},
        {"C:\\A", "A"},                    {"EVIL.EXE", "EVIL.EXE"},
    };
    int matched = 0;
    for (const auto& [path, name] : running) {
        EXPECT_EQ(list.Matches(path, name), Searched(list.Text(), path, name)) << path;
        matched += list.Matches(path, name) ? 1 : 0;
    }
    EXPECT_EQ(matched, 10);
}

}  // namespace
}  // namespace bastion
