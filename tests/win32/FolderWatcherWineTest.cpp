// The folder watching against the real file system: created, written and
// renamed files are told through the message loop of the thread that
// watches (in a subfolder only when asked), nothing after the watch ends,
// and a file being written has a writer until it is closed.
#include <gtest/gtest.h>

#include <algorithm>

#include "WineTestSupport.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FolderWatcher.h"

namespace bastion::win32 {
namespace {

class FolderWatcherWineTest : public ::testing::Test {
protected:
    // Runs the message loop until the condition holds or the time is up.
    template <typename Condition>
    bool PumpUntil(Condition condition, DWORD milliseconds) {
        const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
        while (!condition()) {
            if (::GetTickCount64() > deadline) return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        }
        return true;
    }
    bool Told(const std::string& path) const { return std::find(told.begin(), told.end(), path) != told.end(); }
    std::function<void(platform::FolderChanges)> Record() { return Record(told); }
    std::function<void(platform::FolderChanges)> Record(std::vector<std::string>& into) {
        return [this, &into](platform::FolderChanges changes) {
            for (std::string& path : changes.paths) into.push_back(std::move(path));
            overflowed = overflowed || changes.overflowed;
            ended = ended || changes.ended;
        };
    }

    test::ScratchFolder scratch;
    Win32FileSystem files;
    Win32FolderWatcher watcher;
    std::vector<std::string> told;
    bool overflowed = false;
    bool ended = false;
};

TEST_F(FolderWatcherWineTest, ArrivalsAreToldOnTheWatchingThreadUntilTheWatchEnds) {
    ASSERT_TRUE(files.CreateFolder(scratch / "top"));
    platform::WatchResult deep = watcher.Watch(scratch.Path(), true, Record());
    ASSERT_TRUE(deep.watch) << static_cast<int>(deep.failure);
    std::vector<std::string> toldFlat;
    platform::WatchResult flat = watcher.Watch(scratch / "top", false, Record(toldFlat));
    ASSERT_TRUE(flat.watch);
    // Created once watched: Wine watches only the subfolders it saw
    // arrive (and those another watch names), Windows all of them.
    ASSERT_TRUE(files.CreateFolder(scratch / "sub"));
    ASSERT_TRUE(files.WriteFile(scratch / "sub\\new file.exe", "MZ"));
    ASSERT_TRUE(files.CreateFolder(scratch / "top\\inner"));
    ASSERT_TRUE(files.WriteFile(scratch / "top\\inner\\below.txt", "x"));
    ASSERT_TRUE(files.WriteFile(scratch / "top\\direct.txt", "x"));
    auto toldFlatly = [&toldFlat](const std::string& path) {
        return std::find(toldFlat.begin(), toldFlat.end(), path) != toldFlat.end();
    };
    EXPECT_TRUE(PumpUntil(
        [&] { return Told(scratch / "sub\\new file.exe") && Told(scratch / "top\\inner\\below.txt") &&
                     toldFlatly(scratch / "top\\direct.txt"); },
        10000));
    // Only the watch with subfolders names what lies below "top\inner".
    EXPECT_FALSE(toldFlatly(scratch / "top\\inner\\below.txt"));
    EXPECT_FALSE(overflowed);

    // Renamed in: named by its new name.
    ASSERT_TRUE(files.WriteFile(scratch.Path() + "_outside.tmp", "MZ"));
    ASSERT_TRUE(::MoveFileW(Widen(scratch.Path() + "_outside.tmp").c_str(), Widen(scratch / "moved in.exe").c_str()));
    EXPECT_TRUE(PumpUntil([&] { return Told(scratch / "moved in.exe"); }, 10000));

    // Ended: nothing more is told.
    deep.watch.reset();
    flat.watch.reset();
    told.clear();
    ASSERT_TRUE(files.WriteFile(scratch / "after.exe", "MZ"));
    PumpUntil([] { return false; }, 1000);
    EXPECT_TRUE(told.empty());
}

TEST_F(FolderWatcherWineTest, AWriterIsSeenAndAMissingFolderIsNotWatched) {
    const std::string path = scratch / "being written.zip";
    // Windows removes a watched folder (its watch then ends), Wine does not
    // while it is watched; neither is tested here.
    {
        UniqueHandle writer(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(writer);
        EXPECT_FALSE(watcher.WriterFinished(path));
    }
    EXPECT_TRUE(watcher.WriterFinished(path));
    EXPECT_FALSE(watcher.WriterFinished(scratch / "no such file"));

    EXPECT_EQ(watcher.Watch(scratch / "no such folder", true, Record()).failure, platform::WatchFailure::NotFound);
}

}  // namespace
}  // namespace bastion::win32
