// A walk whose folders are listed by several threads finds, counts and
// reports exactly what a walk on one thread finds, in the same order, also
// when it is stopped or paused while the threads are busy.
#include <chrono>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "common/Text.h"
#include "scan/walk/FolderListers.h"
#include "scan/walk/Walker.h"
#include "support/ScanHarness.h"

namespace bastion {
namespace {

using testing::ScanHarness;

// Everything the user could see of a walk.
struct Walked {
    std::vector<std::string> detections;
    std::vector<std::string> activity;
    int inspected = 0;
    std::vector<double> progress;
    int pumps = 0;
    std::size_t listings = 0;
    bool operator==(const Walked&) const = default;
};

void PrintTo(const Walked& walked, std::ostream* out) {
    *out << walked.inspected << " inspected, " << walked.pumps << " pumps, " << walked.listings << " listings, "
         << walked.progress.size() << " progress reports, detections:";
    for (const std::string& detection : walked.detections) *out << "\n  " << detection;
}

// A random drive of up to about 80 folders: files of random sizes, some
// named as definitions name them, folders a definition names, folders that
// cannot be listed, and folder links with plain folder attributes (as some
// file systems show them) that lead anywhere in the tree, its ancestors too.
void MakeRandomDrive(ScanHarness& harness, unsigned seed) {
    std::mt19937 random(seed);
    auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    testing::FakeFileSystem& files = harness.machine.files;
    testing::FakeDrive drive;
    drive.letter = "D";
    drive.total = 100'000;
    drive.free = 100'000 - 5'000;
    files.AddDrive(drive);
    for (int n = 0; n < 8; ++n) {
        const std::string name = "walkedspywarefile" + std::to_string(n) + ".exe";
        harness.tables.Files().Add({name, "c:\\x\\", "", name});
    }
    std::vector<std::string> folders{"D:\\T"};
    files.AddFolder("D:\\T");
    for (std::size_t i = 0; i < folders.size() && folders.size() < 80; ++i) {
        const std::string folder = folders[i];
        for (int entry = pick(9); entry > 0; --entry) {
            const std::string name = std::to_string(folders.size()) + "_" + std::to_string(entry);
            if (pick(3) != 0) {
                const bool named = pick(4) == 0;
                files.AddFile(folder + "\\" + (named ? "walkedspywarefile" + std::to_string(pick(8)) + ".exe"
                                                     : "plain" + name + ".txt"),
                              std::string(static_cast<std::size_t>(pick(120)), 'x'));
                continue;
            }
            const std::string below = folder + "\\f" + name;
            files.AddFolder(below);
            folders.push_back(below);
            if (pick(6) == 0) harness.tables.Directories().Add({"label", ToLower(below), "", "Dir " + name});
            if (pick(10) == 0) files.FailListing(below);
        }
    }
    for (int link = 0; link < 4; ++link) {
        const std::string& from = folders[static_cast<std::size_t>(pick(static_cast<int>(folders.size())))];
        const std::string& to = folders[static_cast<std::size_t>(pick(static_cast<int>(folders.size())))];
        files.AddJunction(from + "\\link" + std::to_string(link), to, platform::kAttrDirectory);
    }
}

Walked WalkRandomDrive(unsigned seed, int threads, const std::function<void(ScanHarness&)>& script = nullptr) {
    ScanHarness harness;
    harness.tables.Create();
    MakeRandomDrive(harness, seed);
    if (script) script(harness);
    harness.BeginScan();
    ScanContext context = harness.Context();
    harness.machine.files.ResetCounters();
    ScanDrive(context, "D:\\", threads);
    return {harness.Detections(),
            harness.Activity(),
            harness.state.counters.filesInspected,
            harness.progress.walked,
            harness.pump.PumpCount(),
            harness.machine.files.ListDirectoryCalls()};
}

TEST(WalkThreadsTest, ListingThreadsChangeNothingOfWhatTheWalkFindsOnRandomTrees) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const Walked alone = WalkRandomDrive(seed, 1);
        ASSERT_GT(alone.inspected, 0) << "seed " << seed;
        for (std::size_t i = 1; i < alone.progress.size(); ++i) {
            ASSERT_LE(alone.progress[i - 1], alone.progress[i]) << "seed " << seed;
        }
        for (int threads : {2, 4}) {
            EXPECT_EQ(WalkRandomDrive(seed, threads), alone) << "seed " << seed << ", " << threads << " threads";
        }
    }
}

TEST(WalkThreadsTest, StopWhileTheThreadsListEndsTheWalkWhereAWalkOnOneThreadEnds) {
    for (unsigned seed : {3u, 7u, 11u}) {
        for (int stopAt : {1, 5, 25}) {
            auto stop = [stopAt](ScanHarness& harness) {
                harness.pump.At(stopAt, [&harness] { harness.state.RequestStop(); });
            };
            const Walked alone = WalkRandomDrive(seed, 1, stop);
            const Walked together = WalkRandomDrive(seed, 4, stop);
            EXPECT_EQ(together.detections, alone.detections) << "seed " << seed << ", stop at " << stopAt;
            EXPECT_EQ(together.inspected, alone.inspected) << "seed " << seed << ", stop at " << stopAt;
            EXPECT_EQ(together.progress, alone.progress);
            // Listed ahead: at most the folders asked for and not yet taken.
            EXPECT_LE(together.listings, alone.listings + FolderListers::kAhead);
        }
    }
}

TEST(WalkThreadsTest, PauseHoldsTheListingThreadsUntilItEnds) {
    const unsigned seed = 5;
    // Sixty more folders at the top, asked for ahead as soon as the walk
    // starts, and listings slow enough that most still wait at the pause.
    auto wideAndSlow = [](ScanHarness& harness) {
        for (int n = 0; n < 60; ++n) {
            harness.machine.files.AddFile("D:\\T\\wide" + std::to_string(n) + "\\a.txt");
        }
        harness.machine.files.beforeListing = [](const std::string&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        };
    };
    std::size_t listedWhilePaused = 0;
    bool pausedOnce = false;
    const Walked paused = WalkRandomDrive(seed, 4, [&](ScanHarness& harness) {
        wideAndSlow(harness);
        // Paused once D:\ and T are listed and T's subfolders asked for.
        harness.pump.Always([&harness, &listedWhilePaused, &pausedOnce] {
            if (pausedOnce || harness.machine.files.ListDirectoryCalls() < 3) return;
            pausedOnce = true;
            harness.state.SetPaused(true);
            const std::size_t before = harness.machine.files.ListDirectoryCalls();
            // The threads get every chance to list on; each may finish the
            // folder it had taken.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            listedWhilePaused = harness.machine.files.ListDirectoryCalls() - before;
            harness.state.SetPaused(false);
        });
    });
    ASSERT_TRUE(pausedOnce);
    EXPECT_LE(listedWhilePaused, 4u);
    EXPECT_EQ(paused, WalkRandomDrive(seed, 1, wideAndSlow));
}

}  // namespace
}  // namespace bastion
