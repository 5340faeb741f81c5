// The change folder as a running server reads it: what it refuses, what it
// warns of, what it reports once, and a folder it cannot read.
#include "ChangeFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

namespace defserver {
namespace {

namespace fs = std::filesystem;

class ChangeFolderTest : public ::testing::Test {
protected:
    ChangeFolderTest() {
        fs::remove_all(root);
        fs::create_directories(root / "changes");
    }
    ~ChangeFolderTest() override { fs::remove_all(root); }
    // A set written whole a while ago, as a rename into the folder leaves
    // a copy made elsewhere.
    void Publish(const std::string& name, const std::string& text) {
        PublishNow(name, text);
        fs::last_write_time(root / "changes" / name, fs::file_time_type::clock::now() - std::chrono::minutes(1));
    }
    // A set being written at this moment.
    void PublishNow(const std::string& name, const std::string& text) {
        std::ofstream(root / "changes" / name, std::ios::binary) << text;
    }
    // The problems reported since the last call.
    std::vector<std::string> Reported() { return std::exchange(reported, {}); }
    std::vector<std::string> Dates(const ChangeLog& log) {
        std::vector<std::string> dates;
        for (const ChangeSet& set : log.sets) dates.push_back(bastion::FormatGeneralDate(set.date));
        return dates;
    }

    const fs::path root = fs::temp_directory_path() / ("defserver-folder-" + std::to_string(::getpid()));
    std::vector<std::string> reported;
    bastion::DateTime now = *bastion::ParseGeneralDate("5/31/2024 12:00:00 PM");
    ChangeFolder folder{root / "changes", [this](const std::string& problem) { reported.push_back(problem); },
                        [this] { return now; }};
};

TEST_F(ChangeFolderTest, RefusesWhatCannotBeMeantServesLateSetsWithAWarningAndReportsEachProblemOnce) {
    Publish("1.changes", "DATE 3/17/2006\nADD FILE a.exe=A|[windir]|Adware\n");
    Publish("2.changes", "DATE 1/1/2030\nADD FILE future.exe=F|[windir]|Adware\n");
    Publish("3.changes", "DATE 3/18/06\nADD FILE short.exe=S|[windir]|Adware\n");
    Publish("4.changes", "DATE 6/1/2024\nADD FILE soon.exe=S|[windir]|Adware\n");
    Publish("5.changes", "DATE 6/1/2024 6:00:00 AM\n# nothing to send yet\n");
    std::optional<ChangeLog> log = folder.Read();
    ASSERT_TRUE(log);
    // Within a day of the clock is served; a set with nothing in it is
    // served but is not the newest date.
    EXPECT_EQ(Dates(*log), (std::vector<std::string>{"3/17/2006", "6/1/2024", "6/1/2024 6:00:00 AM"}));
    EXPECT_EQ(bastion::FormatGeneralDate(LatestDate(*log)), "6/1/2024");
    const std::vector<std::string> problems = Reported();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], "2.changes: refused: dated 1/1/2030, more than a day ahead of the server's clock");
    EXPECT_EQ(problems[1], "3.changes:1: refused: the year in \"3/18/06\" must have four digits");
    ASSERT_TRUE(folder.Read());
    EXPECT_TRUE(Reported().empty()) << "reported once";

    // Added while the server runs: a set dated before the newest published
    // one, and one with a line that cannot be sent.
    Publish("6.changes", "DATE 4/1/2024\nADD FILE late.exe=L|[windir]|Adware\n");
    Publish("7.changes", "DATE 5/1/2024\nADD NOPE x\nADD FILE ok.exe=O|[windir]|Adware\n");
    log = folder.Read();
    ASSERT_TRUE(log);
    EXPECT_EQ(Dates(*log), (std::vector<std::string>{"3/17/2006", "4/1/2024", "5/1/2024", "6/1/2024",
                                                   "6/1/2024 6:00:00 AM"}));
    EXPECT_EQ(Reported(),
              (std::vector<std::string>{"6.changes: warning: dated 4/1/2024, before 6/1/2024 already published; "
                                        "clients past 4/1/2024 will not receive it",
                                        "7.changes:2: unknown kind NOPE",
                                        "7.changes: warning: dated 5/1/2024, before 6/1/2024 already published; "
                                        "clients past 5/1/2024 will not receive it"}));

    // The day comes: the set that was refused is served.
    now = *bastion::ParseGeneralDate("12/31/2029 6:00:00 PM");
    log = folder.Read();
    ASSERT_TRUE(log);
    EXPECT_EQ(bastion::FormatGeneralDate(LatestDate(*log)), "1/1/2030");
}

TEST_F(ChangeFolderTest, ReadsASetOnceItStaysUnwrittenAndServesAPublishedSetAsItWasPublished) {
    auto dates = [&] {
        const std::optional<ChangeLog> log = folder.Read();
        return log ? Dates(*log) : std::vector<std::string>{"<unreadable>"};
    };
    const std::string first = "DATE 3/17/2006\nADD FILE a.exe=A|[windir]|Adware\n";
    // Still being copied: its DATE line is there, the rest may not be.
    PublishNow("1.changes", "DATE 3/17/2006\n");
    EXPECT_TRUE(dates().empty());
    Publish("1.changes", first);
    EXPECT_EQ(dates(), std::vector<std::string>{"3/17/2006"});
    EXPECT_TRUE(Reported().empty());

    // Changed, rewritten, or taken away once published: an error, and the
    // set as it was published. The same text written again is no change.
    Publish("1.changes", first);
    EXPECT_EQ(dates(), std::vector<std::string>{"3/17/2006"});
    EXPECT_TRUE(Reported().empty());
    Publish("1.changes", "DATE 3/17/2006\nADD FILE b.exe=B|[windir]|Adware\n");
    const std::optional<ChangeLog> changed = folder.Read();
    ASSERT_TRUE(changed);
    ASSERT_EQ(changed->sets.size(), 1u);
    EXPECT_EQ(changed->sets[0].changes, (std::vector<Change>{{true, "FILE", "a.exe=A|[windir]|Adware"}}));
    const std::vector<std::string> problems = Reported();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("1.changes: error: changed after it was published", 0), 0u) << problems[0];
    fs::remove(root / "changes" / "1.changes");
    EXPECT_EQ(dates(), std::vector<std::string>{"3/17/2006"});
    EXPECT_EQ(Reported().size(), 1u);
    // A set that was never served may be written again.
    PublishNow("2.changes", "DATE 3/18/2006\nADD FILE c.exe=C|[windir]|Adware\n");
    EXPECT_EQ(dates(), std::vector<std::string>{"3/17/2006"});
    Publish("2.changes", "DATE 3/19/2006\nADD FILE c.exe=C|[windir]|Adware\n");
    EXPECT_EQ(dates(), (std::vector<std::string>{"3/17/2006", "3/19/2006"}));
    EXPECT_TRUE(Reported().empty());
}

TEST_F(ChangeFolderTest, AFolderThatCannotBeReadHasNoDate) {
    fs::remove_all(root / "changes");
    EXPECT_FALSE(folder.Read());
    EXPECT_EQ(Reported().size(), 1u);
    fs::create_directories(root / "changes");
    Publish("1.changes", "DATE 3/17/2006\nADD FILE a.exe=A|[windir]|Adware\n");
    EXPECT_TRUE(folder.Read());
}

}  // namespace
}  // namespace defserver
