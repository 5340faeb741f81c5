// Hashing files' content for the content definitions. A file of more than
// one piece is read by a reader thread into a ring of buffers while the
// asking thread hashes the pieces already read, so that the hash goes at
// the speed of the slower of the two, not of both one after the other; the
// thread and its buffers stay for the next file (a thread and fresh pages
// per file would cost more than the reads of a small one).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/win32/SlimSync.h"
#include "platform/win32/Win32Crypto.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

class ContentHashing {
public:
    ContentHashing() = default;
    ~ContentHashing();
    ContentHashing(const ContentHashing&) = delete;
    ContentHashing& operator=(const ContentHashing&) = delete;

    // As FileSystem::ContentSha256; one at a time.
    platform::ContentDigest Hash(const std::string& path, const platform::ContentSizeWanted& wanted,
                                 const platform::ContentHashGoOn& goOn);

private:
    // The ring: a few pieces read ahead, and the reader woken for more
    // only once a few are free.
    static constexpr std::size_t kSlots = 6;
    static constexpr std::size_t kRefill = 3;
    struct Slot {
        std::vector<char> bytes;
        std::size_t size = 0;
    };

    // Hashes the pieces the reader thread reads; false when a read failed
    // or the file ended early.
    bool HashRead(HANDLE file, std::uint64_t size, const platform::ContentHashGoOn& goOn, bool& abandoned,
                  Sha256Stream& stream);
    bool StartReader();
    void ReaderMain();
    // Reads the job's file into the ring until it is read, a read fails, or
    // the job is abandoned.
    void ReadJob(std::unique_lock<SlimLock>& hold);

    std::vector<char> single_;
    std::array<Slot, kSlots> slots_;
    std::thread reader_;
    bool readerFailed_ = false;

    // Slim: the two threads hand pieces to each other hundreds of times a
    // second.
    SlimLock lock_;
    // The reader waits on this for a job, an empty slot, or the word to stop.
    SlimCondition readerWakes_;
    // The hasher waits on this for a full slot or the job's end.
    SlimCondition hasherWakes_;
    bool quit_ = false;
    bool jobActive_ = false;
    bool abandon_ = false;
    bool failed_ = false;
    // Slots read and not yet hashed, from the hasher's next one on.
    std::size_t filled_ = 0;
    bool readerWaiting_ = false;
    bool hasherWaiting_ = false;
    HANDLE file_ = nullptr;
    std::uint64_t size_ = 0;
};

// A hash on a thread of its own, of a file of the given size.
std::unique_ptr<platform::PendingContentHash> StartWorkerHash(const std::string& path, std::uint64_t size);

}  // namespace bastion::win32
