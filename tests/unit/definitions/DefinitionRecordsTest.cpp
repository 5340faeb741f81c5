#include <gtest/gtest.h>

#include "definitions/DefinitionRecords.h"

namespace bastion {
namespace {

TEST(FileDefinitionRecord, ReadsAllFourFields) {
    FileRecord record = ParseFileDefinition(" SPYWARE.EXE =Some Threat|[windir]system32|TYPE");
    EXPECT_EQ(record.name, "SPYWARE.EXE");
    EXPECT_EQ(record.threat, "Some Threat");
    EXPECT_EQ(record.folder, "[windir]system32");
    EXPECT_EQ(record.type, "Spyware");
    EXPECT_TRUE(record.hasFolderField);
}

TEST(FileDefinitionRecord, MissingFieldsAreEmptyNotCarriedOver) {
    FileRecord noBar = ParseFileDefinition("x.dll=X Threat");
    EXPECT_EQ(noBar.folder, "");
    EXPECT_EQ(noBar.type, "");
    EXPECT_FALSE(noBar.hasFolderField);

    FileRecord noEquals = ParseFileDefinition("justaname|[progfil]Co");
    EXPECT_EQ(noEquals.name, "justaname");
    EXPECT_EQ(noEquals.threat, "");
    EXPECT_EQ(noEquals.folder, "[progfil]Co");

    FileRecord blank = ParseFileDefinition("");
    EXPECT_EQ(blank.name, "");
    EXPECT_EQ(blank.threat, "");
}

TEST(FileDefinitionRecord, AFurtherEqualsSignEndsTheThreat) {
    EXPECT_EQ(ParseFileDefinition("a.exe=Threat=extra|f|Adware").threat, "Threat");
}

TEST(DirectoryDefinitionRecord, TheTypeWordStandsForSpywareAsInFileDefinitions) {
    FileRecord record = ParseDirectoryDefinition("Spy Dir=Spy Threat|[progfil]SpyCo|TYPE");
    EXPECT_EQ(record.name, "Spy Dir");
    EXPECT_EQ(record.folder, "[progfil]SpyCo");
    EXPECT_EQ(record.type, "Spyware");
}

TEST(RegistryDefinitionRecord, SplitsAtTheLastEqualsAndTheFirstBar) {
    RegistryRecord record = ParseRegistryDefinition("2^Software\\A=B^Run=  Evil Thing|Adware|x ");
    EXPECT_EQ(record.location, "2^Software\\A=B^Run");
    EXPECT_EQ(record.threat, "Evil Thing");
    EXPECT_EQ(record.threatType, "Adware|x");

    RegistryLocation location = SplitRegistryLocation(record.location);
    EXPECT_EQ(location.hive, "2");
    EXPECT_EQ(location.key, "Software\\A=B");
    EXPECT_EQ(location.value, "Run");

    RegistryLocation keyOnly = SplitRegistryLocation("1^Software\\X");
    EXPECT_EQ(keyOnly.key, "Software\\X");
    EXPECT_EQ(keyOnly.value, "");
}

TEST(ExeDefinitionRecord, FolderIsTheSecondFieldOrTheWholeText) {
    ExeRecord record = ParseExeDefinition("EVIL.EXE=Evil|[windir]");
    EXPECT_TRUE(record.valid);
    EXPECT_EQ(record.fileName, "EVIL.EXE");
    EXPECT_EQ(record.folder, "[windir]");
    EXPECT_EQ(ParseExeDefinition("BAD.EXE=|").folder, "");
    EXPECT_FALSE(ParseExeDefinition("no separator").valid);
}

TEST(SafetyDefinitionRecord, ReadsKindNameAndPath) {
    SafetyRecord record = ParseSafetyDefinition("SFILE| kernel32.dll =Kernel|[system]kernel32.dll|extra");
    EXPECT_EQ(record.kind, "SFILE");
    EXPECT_EQ(record.name, "kernel32.dll");
    EXPECT_EQ(record.path, "[system]kernel32.dll");
    EXPECT_EQ(ParseSafetyDefinition("SDIR").path, "");
}

}  // namespace
}  // namespace bastion
