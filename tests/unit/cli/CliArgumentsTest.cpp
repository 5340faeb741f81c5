#include "cli/CliArguments.h"

#include <gtest/gtest.h>

#include "cli/ConsoleDialogs.h"
#include "cli/ConsoleScan.h"

namespace bastion::cli {
namespace {

ParsedArguments Parse(std::vector<std::string> arguments) { return ParseArguments(arguments); }

TEST(CliArgumentsTest, ScanKindsTakeTheirPathAndOptionsGoAnywhere) {
    ParsedArguments smart = Parse({"--no-report", "smart", "--no-cookies"});
    ASSERT_TRUE(smart.Ok()) << smart.error;
    EXPECT_EQ(smart.arguments.kind, ScanKind::Smart);
    EXPECT_EQ(smart.arguments.overrides.makeLog, false);
    EXPECT_EQ(smart.arguments.overrides.scanCookies, false);
    EXPECT_FALSE(smart.arguments.overrides.scanRegistry.has_value()) << "what is not given stays as stored";

    ParsedArguments folder = Parse({"folder", "C:\\Program Files", "--no-processes", "--no-registry", "--progress"});
    ASSERT_TRUE(folder.Ok()) << folder.error;
    EXPECT_EQ(folder.arguments.kind, ScanKind::Folder);
    EXPECT_EQ(folder.arguments.path, "C:\\Program Files");
    EXPECT_EQ(folder.arguments.overrides.sweepMemory, false);
    EXPECT_EQ(folder.arguments.overrides.scanRegistry, false);
    EXPECT_EQ(folder.arguments.overrides.makeLog, true) << "a console scan reports whatever the stored option";
    EXPECT_TRUE(folder.arguments.forceProgress);
    EXPECT_FALSE(folder.arguments.overrides.walkThreads.has_value()) << "the stored option decides";
    EXPECT_EQ(Parse({"full", "--threads", "1"}).arguments.overrides.walkThreads, 1);

    EXPECT_EQ(Parse({"file", "-odd name.exe"}).arguments.path, "-odd name.exe");
    EXPECT_EQ(Parse({"full"}).arguments.kind, ScanKind::FullSystem);
    EXPECT_EQ(Parse({"smart", "--help"}).arguments.command, Command::Help);
    EXPECT_EQ(Parse({"--version"}).arguments.command, Command::Version);
}

TEST(CliArgumentsTest, RemovalAndTheQuarantineCommands) {
    EXPECT_TRUE(Parse({"smart", "--remove"}).arguments.remove);
    EXPECT_EQ(Parse({"quarantine", "list"}).arguments.command, Command::QuarantineList);
    ParsedArguments restore = Parse({"quarantine", "restore", "3", "12", "--overwrite"});
    ASSERT_TRUE(restore.Ok()) << restore.error;
    EXPECT_EQ(restore.arguments.command, Command::QuarantineRestore);
    EXPECT_EQ(restore.arguments.restoreIds, (std::vector<std::uint64_t>{3, 12}));
    EXPECT_TRUE(restore.arguments.overwrite);
    EXPECT_TRUE(Parse({"quarantine", "restore", "--all"}).arguments.restoreAll);
    EXPECT_EQ(Parse({"quarantine", "restore"}).error, "restore needs an id or --all");
    EXPECT_EQ(Parse({"quarantine", "restore", "x"}).error, "unexpected argument x");
    EXPECT_EQ(Parse({"quarantine", "list", "--all"}).error, "unexpected argument --all");
    EXPECT_EQ(Parse({"quarantine"}).error, "quarantine needs list or restore");
}

TEST(CliArgumentsTest, UnusableCommandLinesSayWhy) {
    EXPECT_EQ(Parse({}).error, "no scan chosen");
    EXPECT_EQ(Parse({"file"}).error, "file needs a path");
    EXPECT_EQ(Parse({"folder", ""}).error, "folder needs a path");
    EXPECT_EQ(Parse({"smart", "full"}).error, "unexpected argument full");
    EXPECT_EQ(Parse({"quick"}).error, "unknown command quick");
    EXPECT_EQ(Parse({"smart", "--no-memory"}).error, "unknown option --no-memory");
    for (const char* threads : {"0", "5", "two"}) {
        EXPECT_EQ(Parse({"full", "--threads", threads}).error, "--threads needs a number from 1 to 4") << threads;
    }
    EXPECT_EQ(Parse({"full", "--threads"}).error, "--threads needs a number from 1 to 4");
    EXPECT_EQ(Parse({"update", "--threads", "2"}).error, "update takes no options");
    EXPECT_NE(HelpText().find("--no-report"), std::string_view::npos);
}

TEST(CliExitStatusTest, OnlyACompletedScanExitsWithZeroOrOne) {
    EXPECT_EQ(ExitStatus(ScanOutcome::Completed, false), 0);
    EXPECT_EQ(ExitStatus(ScanOutcome::Completed, true), 1);
    for (ScanOutcome failed : {ScanOutcome::Cancelled, ScanOutcome::DefinitionsMissing, ScanOutcome::NothingChosen,
                               ScanOutcome::AlreadyRunning}) {
        EXPECT_EQ(ExitStatus(failed, true), 2);
        EXPECT_EQ(ExitStatus(failed, false), 2);
    }
}

TEST(ConsoleDialogsTest, EveryQuestionGetsTheAnswerThatChangesNothing) {
    EXPECT_EQ(UnattendedAnswer(services::MsgButtons::Ok), services::MsgResult::Ok);
    EXPECT_EQ(UnattendedAnswer(services::MsgButtons::YesNo), services::MsgResult::No);
    EXPECT_EQ(UnattendedAnswer(services::MsgButtons::YesNoCancel), services::MsgResult::No);
    EXPECT_EQ(UnattendedAnswer(services::MsgButtons::OkCancel), services::MsgResult::Cancel);
    EXPECT_EQ(UnattendedAnswer(services::MsgButtons::RetryCancel), services::MsgResult::Cancel);
    EXPECT_EQ(UnattendedAnswer(services::MsgButtons::AbortRetryIgnore), services::MsgResult::Ignore);
}

}  // namespace
}  // namespace bastion::cli
