#include <gtest/gtest.h>

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/ExclusionList.h"
#include "definitions/Exclusions.h"
#include "services/messages/DefaultMessages.h"
#include "support/FakeFileSystem.h"
#include "support/FakeShell.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

ExclusionList ListOf(const std::vector<std::string>& lines) {
    ExclusionList list;
    list.Assign(lines);
    return list;
}

TEST(ExclusionList, AFileEntryMatchesExactlyIgnoringCaseAndBlanks) {
    ExclusionList list = ListOf({"C:\\Spy\\x.exe"});
    EXPECT_TRUE(list.IsExcluded("c:\\spy\\x.exe"));
    EXPECT_TRUE(list.IsExcluded("  C:\\SPY\\X.EXE "));
    EXPECT_FALSE(list.IsExcluded("c:\\spy\\x.exe.bak"));
    EXPECT_FALSE(list.IsExcluded("c:\\spy"));
    EXPECT_FALSE(list.IsExcluded("x.exe"));
}

TEST(ExclusionList, AFolderHoldingAnExcludedEntryIsExcludedByTheSubstringRule) {
    ExclusionList list = ListOf({"C:\\Spy\\x.exe", "HKEY_CURRENT_USER\\Software\\Adco"});
    EXPECT_TRUE(list.IsExcludedFolder("c:\\spy"));
    EXPECT_TRUE(list.IsExcludedFolder("C:\\SPY\\"));
    EXPECT_TRUE(list.IsExcludedFolder("software\\adco"));
    EXPECT_FALSE(list.IsExcludedFolder("c:\\spyware"));
    EXPECT_FALSE(ListOf({}).IsExcludedFolder("c:\\spy"));
}

TEST(ExclusionList, TheEmptyCandidateIsExcludedOnlyWhenTheListHoldsAnEntry) {
    EXPECT_FALSE(ListOf({}).IsExcluded(""));
    EXPECT_FALSE(ListOf({"", "   "}).IsExcluded("   "));
    EXPECT_TRUE(ListOf({"a"}).IsExcluded(""));
    EXPECT_TRUE(ListOf({"a"}).IsExcluded("   "));
    EXPECT_TRUE(ListOf({"a"}).IsExcludedFolder(""));
}

TEST(ExclusionList, TheTextHoldsTheNonBlankLinesAsReadEachFollowedByABar) {
    ExclusionList list = ListOf({"a", "", "  ", " b ", "c|d"});
    EXPECT_EQ(list.Text(), "a| b |c|d|");
    // A line is compared as written, blanks included; a bar inside it
    // separates two entries.
    EXPECT_TRUE(list.IsExcluded(" b "));
    EXPECT_FALSE(list.IsExcluded("b"));
    EXPECT_TRUE(list.IsExcluded("d"));
}

class ExclusionFileTest : public ::testing::Test {
protected:
    ExclusionFileTest() { files.AddFolder(dataFolder); }

    std::string Path() const { return DataFilePath(dataFolder, datafile::kExclusions); }

    testing::FakeFileSystem files;
    std::string dataFolder = "C:\\Data";
    ExclusionFile file{files, Windows1252(), dataFolder};
    testing::ScriptedEventPump pump;
    ExclusionList list;
};

TEST_F(ExclusionFileTest, LoadingSkipsBlankLinesAndYieldsAfterEveryLine) {
    files.AddFile(Path(), "C:\\a.exe\r\n\r\n   \r\nCaf\xE9\r\nlast");
    list.Assign({"stale"});
    LoadExclusions(file, pump, list);
    EXPECT_EQ(list.Text(), "C:\\a.exe|Caf\xC3\xA9|last|");
    EXPECT_TRUE(list.IsExcluded("CAF\xC3\x89"));
    EXPECT_EQ(pump.PumpCount(), 5);
    EXPECT_EQ(pump.PumpNowCount(), 0);
}

TEST_F(ExclusionFileTest, AnAbsentFileGivesTheEmptyList) {
    list.Assign({"stale"});
    LoadExclusions(file, pump, list);
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(list.IsExcluded(""));
}

TEST_F(ExclusionFileTest, AddingWritesUtf8AfterAMarkSoThatAnyPathSurvives) {
    const std::string cyrillic = "C:\\Users\\\xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9\\x.exe";
    ASSERT_TRUE(AddExclusion(file, pump, list, "  " + cyrillic + "  "));
    EXPECT_EQ(files.Content(Path()), "\xEF\xBB\xBF" + cyrillic + "\r\n");
    EXPECT_TRUE(list.IsExcluded(ToLower(cyrillic)));

    ASSERT_TRUE(AddExclusions(file, pump, list, {"second", "  ", "third"}));
    EXPECT_EQ(files.Content(Path()), "\xEF\xBB\xBF" + cyrillic + "\r\nsecond\r\nthird\r\n");
    EXPECT_EQ(list.Text(), cyrillic + "|second|third|");
}

// The forms the file may be in: the program's own, an editor's UTF-8
// without a mark, and the code page of earlier versions and of Notepad's
// "ANSI". An addition turns the file into the program's form, its lines
// kept.
TEST_F(ExclusionFileTest, ReadsEveryFormAndAnAdditionKeepsTheLinesAlreadyThere) {
    struct Form {
        const char* name;
        std::string bytes;
    };
    for (const Form& form : {Form{"UTF-8 with a mark", "\xEF\xBB\xBF" "C:\\Caf\xC3\xA9\r\nold"},
                             Form{"UTF-8 without a mark", "C:\\Caf\xC3\xA9\r\nold"},
                             Form{"code page", "C:\\Caf\xE9\r\nold"}}) {
        files.AddFile(Path(), form.bytes);
        LoadExclusions(file, pump, list);
        EXPECT_EQ(list.Text(), "C:\\Caf\xC3\xA9|old|") << form.name;

        ASSERT_TRUE(AddExclusion(file, pump, list, "new")) << form.name;
        EXPECT_EQ(files.Content(Path()), "\xEF\xBB\xBF" "C:\\Caf\xC3\xA9\r\nold\r\nnew\r\n") << form.name;
        EXPECT_EQ(list.Text(), "C:\\Caf\xC3\xA9|old|new|") << form.name;
    }
}

TEST_F(ExclusionFileTest, AnItemAddedAfterAHandEditedLastLineStaysAnItemOfItsOwn) {
    // Saved by Notepad without a line end after the last line.
    files.AddFile(Path(), "C:\\edited.exe");
    ASSERT_TRUE(AddExclusion(file, pump, list, "C:\\added.exe"));
    EXPECT_TRUE(list.IsExcluded("C:\\edited.exe"));
    EXPECT_TRUE(list.IsExcluded("C:\\added.exe"));
}

TEST_F(ExclusionFileTest, AnItemThatCannotBeWrittenIsNotAddedAndTheFileStaysAsItWas) {
    for (const std::string& bytes : {std::string("\xEF\xBB\xBFkept\r\n"), std::string("kept\r\n")}) {
        files.AddFile(Path(), bytes);
        files.FailWrites(Path());
        files.FailMoves(Path());
        EXPECT_FALSE(AddExclusion(file, pump, list, "lost"));
        EXPECT_EQ(list.Text(), "kept|");
        EXPECT_EQ(files.Content(Path()), bytes);
        files.ClearFailures();
    }
}

TEST_F(ExclusionFileTest, ViewingOpensTheFileInNotepadOrSaysThereIsNone) {
    testing::FakeShell shell;
    testing::ScriptedDialogs dialogs;
    services::MessageCatalogue messages{testing::TestIdentity()};
    services::FillDefaultMessages(messages);

    ViewExclusions(file, shell, dialogs, messages);
    EXPECT_TRUE(shell.calls.empty());
    ASSERT_EQ(dialogs.Asked().size(), 1u);
    EXPECT_EQ(dialogs.Asked()[0].text, "No exclusion file exists yet.");
    EXPECT_EQ(dialogs.Asked()[0].title, "No Exclusion File");

    files.AddFile(Path(), "C:\\a.exe\r\n");
    ViewExclusions(file, shell, dialogs, messages);
    EXPECT_EQ(dialogs.Asked().size(), 1u);
    EXPECT_EQ(shell.calls, (std::vector<testing::ShellCall>{{testing::ShellCall::Kind::StartProgram,
                                                              "\"C:\\WINDOWS\\notepad.exe\" "
                                                              "\"C:\\Data\\ENoSignature.dat\"",
                                                              platform::ShowWindow::Normal}}));
}

}  // namespace
}  // namespace bastion
