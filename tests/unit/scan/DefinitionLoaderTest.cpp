#include "scan/files/DefinitionLoader.h"

#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "scan/files/FolderMatchers.h"
#include "support/ScanHarness.h"

namespace bastion {
namespace {

using testing::ScanHarness;

struct Row {
    std::string name, folder, type, threat;
    friend bool operator==(const Row&, const Row&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Row& row) {
        return out << '{' << row.name << ", " << row.folder << ", " << row.type << ", " << row.threat << '}';
    }
};

std::vector<Row> RowsOf(const DefinitionTable& table) {
    std::vector<Row> rows;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        const StoredRow row = table.Row(i);
        rows.push_back({std::string(row.name), std::string(row.folder), std::string(row.type), std::string(row.threat)});
    }
    return rows;
}

struct DefinitionLoaderTest : ::testing::Test {
    ScanHarness harness;
    ScanContext context = harness.Context();
};

TEST_F(DefinitionLoaderTest, FileLinesLoadLowerCasedWithExpandedFoldersAndTheirOwnFields) {
    harness.WriteDefinitions(datafile::kFileDefinitions, {
                                                             "SPYWARE.EXE=Some Threat|[windir]system32|TYPE",
                                                             "Plain.dll=No Folder",
                                                             "Cased.dll=Token Case|[WINDIR]\\Temp",
                                                             "anywhere.exe=On Any Drive|[drive]\\Spy\\|Adware",
                                                             "notype.dll=No Type|[progfil]SpyCo",
                                                             "  Blanks.ocx  =Threat=Extra|[progfil]|Tracker",
                                                         });
    LoadDefinitions(context);

    EXPECT_EQ(RowsOf(harness.tables.Files()),
              (std::vector<Row>{
                  {"spyware.exe", "c:\\windows\\system32\\", "Spyware", "Some Threat"},
                  {"plain.dll", "", "", "No Folder"},
                  {"cased.dll", "c:\\windows\\temp\\", "", "Token Case"},
                  {"anywhere.exe", "[drive]\\spy\\", "Adware", "On Any Drive"},
                  // The type of the line before does not carry over.
                  {"notype.dll", "c:\\program files\\spyco\\", "", "No Type"},
                  {"blanks.ocx", "c:\\program files\\", "Tracker", "Threat"},
              }));
}

TEST_F(DefinitionLoaderTest, DirectoryLinesLoseTheTrailingBackslash) {
    harness.WriteDefinitions(datafile::kDirectoryDefinitions, {
                                                                  "Spy Dir=Spy Threat|[progfil]SpyCo|Adware",
                                                                  "Literal=Typed|[windir]Spy\\|TYPE",
                                                                  "Drive Dir=On Drive|[drive]\\SpyDir",
                                                              });
    LoadDefinitions(context);

    EXPECT_EQ(RowsOf(harness.tables.Directories()),
              (std::vector<Row>{
                  {"spy dir", "c:\\program files\\spyco", "Adware", "Spy Threat"},
                  {"literal", "c:\\windows\\spy", "Spyware", "Typed"},
                  {"drive dir", "[drive]\\spydir", "", "On Drive"},
              }));
}

TEST_F(DefinitionLoaderTest, ProtectedRowsAreLeftOut) {
    harness.safety.Assign({"C:\\WINDOWS\\system32\\good.exe", "C:\\Program Files\\Good"});
    harness.WriteDefinitions(datafile::kFileDefinitions,
                             {"good.exe=Not Really|[windir]system32", "bad.exe=Bad|[windir]system32"});
    harness.WriteDefinitions(datafile::kDirectoryDefinitions,
                             {"Good=Not Really|[progfil]Good", "Bad=Bad|[progfil]Bad"});
    LoadDefinitions(context);

    ASSERT_EQ(harness.tables.Files().Size(), 1u);
    EXPECT_EQ(harness.tables.FileName(0), "bad.exe");
    ASSERT_EQ(harness.tables.Directories().Size(), 1u);
    EXPECT_EQ(harness.tables.DirFolder(0), "c:\\program files\\bad");
}

TEST_F(DefinitionLoaderTest, TheSafetyTestSeesTheRowAsLowerCasedWhateverItsDriveAndLetters) {
    harness.safety.Assign({"C:\\Programme\\\xc3\x9c" "ber\\SPY.EXE", "c:\\programme\\\xc3\xa4rger\\"});
    harness.WriteDefinitions(datafile::kFileDefinitions, {
                                                             "Spy.exe=Kept Out|D:\\PROGRAMME\\\xc3\xbc" "ber",
                                                             "Spy.exe=Loaded|D:\\Programme\\\xc3\x9c" "ber2",
                                                             "\xc3\x84RGER.EXE=Loaded Lower|[windir]",
                                                         });
    harness.WriteDefinitions(datafile::kDirectoryDefinitions, {
                                                                  "Kept Out=X|E:\\Programme\\\xc3\x84rger\\\\",
                                                                  "Loaded=Y|E:\\Programme\\\xc3\x84rgerlich",
                                                              });
    LoadDefinitions(context);

    EXPECT_EQ(RowsOf(harness.tables.Files()),
              (std::vector<Row>{
                  {"spy.exe", "d:\\programme\\\xc3\xbc" "ber2\\", "", "Loaded"},
                  {"\xc3\xa4rger.exe", "c:\\windows\\", "", "Loaded Lower"},
              }));
    EXPECT_EQ(RowsOf(harness.tables.Directories()),
              (std::vector<Row>{{"loaded", "e:\\programme\\\xc3\xa4rgerlich", "", "Y"}}));
}

TEST_F(DefinitionLoaderTest, MalformedLinesLoadOrAreSkippedWithoutHarm) {
    const std::string longName(100'000, 'a');
    harness.WriteDefinitions(datafile::kFileDefinitions, {
                                                             "noequals.dll|[windir]",
                                                             "",
                                                             "nobar.dll",
                                                             "=Nameless|[windir]",
                                                             "after.dll=After End|[windir]system32",
                                                         });
    // Bytes above 127, as the code page stores them.
    harness.WriteDefinitions(datafile::kDirectoryDefinitions, {
                                                                  longName + "=Long|[progfil]" + longName,
                                                                  "Folderless=No Folder|",
                                                                  "Caf\xc3\xa9=Caf\xc3\xa9 Threat|[progfil]Caf\xc3\xa9",
                                                                  "|||||",
                                                              });
    LoadDefinitions(context);

    const DefinitionTables& tables = harness.tables;
    // Lines without a name (the blank one, the nameless one) could match
    // nothing and are left out; the lines after them load and match.
    ASSERT_EQ(tables.Files().Size(), 3u);
    EXPECT_EQ(tables.FileFolder(0), "c:\\windows\\");
    EXPECT_EQ(tables.FileThreat(0), "");
    EXPECT_EQ(tables.FileName(1), "nobar.dll");
    EXPECT_EQ(tables.FileFolder(1), "");
    EXPECT_EQ(tables.FileName(2), "after.dll");
    ASSERT_EQ(tables.Directories().Size(), 2u);
    EXPECT_EQ(tables.DirFolder(0).size(), std::string("c:\\program files\\").size() + longName.size());
    EXPECT_EQ(tables.DirFolder(1), "c:\\program files\\caf\xc3\xa9");
    EXPECT_EQ(tables.DirThreat(1), "Caf\xc3\xa9 Threat");

    ScanContext walk = harness.Context();
    MatchFoundFile(walk, "C:\\WINDOWS\\system32\\after.dll");
    EXPECT_EQ(harness.Threats(), std::vector<std::string>{"After End"});
}

TEST_F(DefinitionLoaderTest, ProgramAndSystemFolderDefinitionsAlsoMatchInTheir32BitTwins) {
    harness.Use64BitWindows();
    harness.WriteDefinitions(datafile::kFileDefinitions,
                             {"spy.dll=Spy|[progfil]SpyCo", "wow.dll=Wow|[system]", "win.dll=Win|[windir]Spy",
                              "spelt.dll=Spelt|[windir]system32", "root.dll=Root|[drive]Windows\\System32\\"});
    harness.WriteDefinitions(datafile::kDirectoryDefinitions,
                             {"D=Spy Dir|[comprogfil]SpyDir|TYPE", "S=Sys Dir|[WINDIR]\\System32\\SpyDir"});
    LoadDefinitions(context);
    // A row stands for its program folder's twin too, and costs one row;
    // the system folder's twin is found by the walked item's place, however
    // the definition spells it.
    EXPECT_EQ(harness.tables.Files().Size(), 5u);
    EXPECT_EQ(harness.tables.Directories().Size(), 2u);

    std::vector<std::string> found;
    for (const char* path : {"C:\\Program Files (x86)\\SpyCo\\spy.dll", "C:\\Program Files\\SpyCo\\spy.dll",
                             "C:\\WINDOWS\\SysWOW64\\wow.dll", "C:\\WINDOWS\\Spy\\win.dll",
                             "C:\\WINDOWS\\SysWOW64\\spelt.dll", "D:\\Windows\\syswow64\\root.dll",
                             "C:\\Other\\SysWOW64\\wow.dll"}) {
        MatchFoundFile(context, path);
    }
    MatchFoundDirectory(context, "C:\\Program Files (x86)\\Common Files\\SpyDir\\");
    MatchFoundDirectory(context, "C:\\WINDOWS\\SysWOW64\\SpyDir\\");
    // Each as the walk met it, in its own case.
    EXPECT_EQ(harness.Locations(), (std::vector<std::string>{"C:\\Program Files (x86)\\SpyCo\\spy.dll",
                                               "C:\\Program Files\\SpyCo\\spy.dll",
                                               "C:\\WINDOWS\\SysWOW64\\wow.dll", "C:\\WINDOWS\\Spy\\win.dll",
                                               "C:\\WINDOWS\\SysWOW64\\spelt.dll",
                                               "D:\\Windows\\syswow64\\root.dll",
                                               "C:\\Program Files (x86)\\Common Files\\SpyDir",
                                               "C:\\WINDOWS\\SysWOW64\\SpyDir"}));
}

// One row stands for a program-folder definition in both program folders;
// the safety list may protect either place alone, and only that place is
// left out.
TEST_F(DefinitionLoaderTest, EachPlaceOfAProgramFolderDefinitionIsProtectedOnItsOwn) {
    harness.Use64BitWindows();
    harness.safety.Assign({"C:\\Program Files (x86)\\SpyCo\\spy.dll", "C:\\Program Files\\Good"});
    harness.WriteDefinitions(datafile::kFileDefinitions, {"spy.dll=Spy|[progfil]SpyCo", "all.dll=All|[progfil]All"});
    harness.WriteDefinitions(datafile::kDirectoryDefinitions, {"G=Good|[progfil]Good", "B=Both|[progfil]Both"});
    LoadDefinitions(context);

    auto places = [](const DefinitionTable& table) {
        std::vector<std::string> folders;
        for (std::size_t row = 0; row < table.Size(); ++row) {
            table.ForEachPlace(row, [&](const DefinitionRow& place) { folders.emplace_back(place.folder); });
        }
        return folders;
    };
    EXPECT_EQ(places(harness.tables.Files()),
              (std::vector<std::string>{"c:\\program files\\spyco\\", "c:\\program files\\all\\",
                                        "c:\\program files (x86)\\all\\"}));
    EXPECT_EQ(places(harness.tables.Directories()),
              (std::vector<std::string>{"c:\\program files (x86)\\good", "c:\\program files\\both",
                                        "c:\\program files (x86)\\both"}));
    EXPECT_EQ(harness.tables.DirFolder(0), "c:\\program files (x86)\\good");

    MatchFoundDirectory(context, "C:\\Program Files (x86)\\Good\\");
    MatchFoundDirectory(context, "C:\\Program Files (x86)\\Both\\");
    EXPECT_EQ(harness.Locations(),
              (std::vector<std::string>{"C:\\Program Files (x86)\\Good", "C:\\Program Files (x86)\\Both"}));
}

TEST_F(DefinitionLoaderTest, SaysThatItLoadsWhileItLoadsAndLoadsOncePerRun) {
    harness.WriteDefinitions(datafile::kFileDefinitions, {"a.dll=A|[windir]", "b.dll=B|[windir]"});
    harness.BeginScan();
    bool loadingAllAlong = true;
    harness.pump.Always([&] { loadingAllAlong = loadingAllAlong && harness.progress.loading; });
    LoadDefinitions(context);

    EXPECT_TRUE(loadingAllAlong);
    EXPECT_EQ(harness.pump.CallCount(), 3);  // once before reading, once per line
    EXPECT_EQ(harness.progress.lastItem, "Loading definitions, please wait...");
    EXPECT_FALSE(harness.progress.loading);

    harness.WriteDefinitions(datafile::kFileDefinitions, {"c.dll=C|[windir]"});
    harness.machine.files.ResetCounters();
    LoadDefinitions(context);
    EXPECT_EQ(harness.machine.files.ReadCalls(), 0u);
    EXPECT_EQ(harness.tables.Files().Size(), 2u);
}

TEST_F(DefinitionLoaderTest, StopEndsTheLoadKeepingTheRowsReadAndItIsNotRepeated) {
    harness.WriteDefinitions(datafile::kFileDefinitions, {"a.dll=A|[windir]", "b.dll=B|[windir]", "c.dll=C|[windir]"});
    harness.WriteDefinitions(datafile::kDirectoryDefinitions, {"D=D|[windir]D"});
    harness.BeginScan();
    harness.pump.At(3, [&] { harness.state.RequestStop(); });  // after the second line
    LoadDefinitions(context);

    EXPECT_EQ(harness.tables.Files().Size(), 2u);
    EXPECT_EQ(harness.tables.Directories().Size(), 0u);
    EXPECT_FALSE(harness.progress.loading);

    harness.state.ClearStop();
    LoadDefinitions(context);
    EXPECT_EQ(harness.tables.Files().Size(), 2u);
}

TEST_F(DefinitionLoaderTest, MissingFilesLeaveEmptyTables) {
    LoadDefinitions(context);
    EXPECT_TRUE(harness.tables.Created());
    EXPECT_EQ(harness.tables.Files().Size() + harness.tables.Directories().Size(), 0u);
}

TEST_F(DefinitionLoaderTest, DefinitionsPastTheHundredThousandAndFirstStillMatch) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100'003; ++i) {
        const std::string number = std::to_string(i);
        lines.push_back(std::string("f").append(number).append(".dll=Spy ").append(number).append("|[progfil]SpyCo"));
    }
    harness.WriteDefinitions(datafile::kFileDefinitions, lines);
    harness.machine.files.AddFile("C:\\Program Files\\SpyCo\\f100002.dll");
    LoadDefinitions(context);
    MatchFoundFile(context, "C:\\Program Files\\SpyCo\\f100002.dll");
    EXPECT_EQ(harness.Activity(), std::vector<std::string>{"Spy 100002|C:\\Program Files\\SpyCo\\f100002.dll#File"});
}

}  // namespace
}  // namespace bastion
