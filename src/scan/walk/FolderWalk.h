// The folder walker behind the drive, folder and file scans: every entry of
// a folder tree goes to the folder-walk matchers, a folder's own entries
// before its subfolders. Hidden, system and read-only files and folders are
// examined like any other; every folder is descended into except folder
// links (reparse points) and folders the walk has entered before.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scan/ScanContext.h"

namespace bastion {

// The status line above the item being walked: this, then the folder (and
// a line break and the entry's name).
inline constexpr std::string_view kScanningPrefix = "Scanning: ";

// A walk's progress told by the bytes of the files it meets, against the
// space used on the drive (starting from 0). The sizes listed and the used
// space never agree exactly, so the progress stops at the used space rather
// than pass it.
class ByteProgress {
public:
    ByteProgress(ScanProgress& progress, std::uint64_t expectedBytes);
    void Add(std::uint64_t bytes);
    // The walk is over: all of the expected bytes are done.
    void Finish();

private:
    ScanProgress& progress_;
    double expected_;
    std::uint64_t met_ = 0;
};

// Walks the folder (a path ending in "\") and everything below it. A folder
// reached a second time in the same walk (through a junction, a mount point
// or a link) is not entered again. progress may be null. threads: how many
// threads list folders (1: this one alone); whatever the number, the walk
// finds, counts and reports the same, in the same order.
void WalkFolder(ScanContext& context, const std::string& folder, ByteProgress* progress = nullptr, int threads = 1);

}  // namespace bastion
