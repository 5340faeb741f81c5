#include "platform/win32/ContentHashing.h"

#include <algorithm>
#include <atomic>
#include <optional>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace bastion::win32 {

namespace {

using platform::ContentDigest;
using platform::ContentHashEnd;
using platform::kContentHashPiece;

// Other programs may read, write and delete the file while it is hashed: a
// scan must never get in the way of the programs it looks at.
UniqueHandle OpenShared(const std::string& path) {
    return UniqueHandle(::CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

std::optional<std::uint64_t> OpenSize(HANDLE file) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

// Exactly size bytes (at most a piece); false when a read fails or the file
// ends before them.
bool ReadExactly(HANDLE file, char* into, std::size_t size) {
    while (size > 0) {
        DWORD read = 0;
        if (!::ReadFile(file, into, static_cast<DWORD>(size), &read, nullptr) || read == 0) return false;
        into += read;
        size -= read;
    }
    return true;
}

// Reads and hashes piece after piece on the calling thread.
bool HashInTurn(HANDLE file, std::uint64_t size, std::vector<char>& buffer, const platform::ContentHashGoOn& goOn,
                bool& abandoned, Sha256Stream& stream) {
    buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, kContentHashPiece)));
    for (std::uint64_t done = 0; done < size;) {
        const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(size - done, kContentHashPiece));
        if (!ReadExactly(file, buffer.data(), piece) || !stream.Add(buffer.data(), piece)) return false;
        done += piece;
        if (done < size && goOn && !goOn()) {
            abandoned = true;
            return false;
        }
    }
    return true;
}

ContentDigest Finished(Sha256Stream& stream, std::uint64_t size) {
    const std::optional<platform::Sha256Digest> digest = stream.Finish();
    if (!digest) return {};
    return {ContentHashEnd::Hashed, size, *digest};
}

class WorkerHash final : public platform::PendingContentHash {
public:
    WorkerHash(std::string path, std::uint64_t size) : path_(std::move(path)), size_(size) {}
    ~WorkerHash() override {
        abandon_ = true;
        if (thread_.joinable()) thread_.join();
    }
    WorkerHash(const WorkerHash&) = delete;
    WorkerHash& operator=(const WorkerHash&) = delete;

    bool Start() {
        try {
            thread_ = std::thread([this] { Run(); });
            return true;
        } catch (...) {
            return false;
        }
    }

    std::optional<ContentDigest> Result() override {
        std::lock_guard<std::mutex> hold(lock_);
        return result_;
    }

private:
    void Run() {
        ContentDigest digest;
        const UniqueHandle file = OpenShared(path_);
        const std::optional<std::uint64_t> size = file ? OpenSize(file.Get()) : std::nullopt;
        if (size && *size != size_) {
            digest = {ContentHashEnd::OtherSize, *size, {}};
        } else if (size) {
            Sha256Stream stream;
            std::vector<char> buffer;
            bool abandoned = false;
            if (HashInTurn(file.Get(), *size, buffer, [this] { return !abandon_.load(); }, abandoned, stream)) {
                digest = Finished(stream, *size);
            } else if (abandoned) {
                digest.end = ContentHashEnd::Abandoned;
            }
        }
        std::lock_guard<std::mutex> hold(lock_);
        result_ = digest;
    }

    const std::string path_;
    const std::uint64_t size_;
    std::atomic<bool> abandon_{false};
    std::mutex lock_;
    std::optional<ContentDigest> result_;
    std::thread thread_;
};

}  // namespace

ContentHashing::~ContentHashing() {
    {
        std::lock_guard<SlimLock> hold(lock_);
        quit_ = true;
    }
    readerWakes_.WakeAll();
    if (reader_.joinable()) reader_.join();
}

platform::ContentDigest ContentHashing::Hash(const std::string& path, const platform::ContentSizeWanted& wanted,
                                             const platform::ContentHashGoOn& goOn) {
    const UniqueHandle file = OpenShared(path);
    if (!file) return {};
    const std::optional<std::uint64_t> size = OpenSize(file.Get());
    if (!size) return {};
    if (wanted && !wanted(*size)) return {ContentHashEnd::OtherSize, *size, {}};

    Sha256Stream stream;
    bool abandoned = false;
    // A file of one piece has nothing to read meanwhile.
    const bool read = *size > kContentHashPiece && StartReader()
                          ? HashRead(file.Get(), *size, goOn, abandoned, stream)
                          : HashInTurn(file.Get(), *size, single_, goOn, abandoned, stream);
    if (abandoned) return {ContentHashEnd::Abandoned, *size, {}};
    if (!read) return {};
    return Finished(stream, *size);
}

bool ContentHashing::StartReader() {
    if (reader_.joinable()) return true;
    if (readerFailed_) return false;
    try {
        for (Slot& slot : slots_) slot.bytes.resize(kContentHashPiece);
        reader_ = std::thread([this] { ReaderMain(); });
        return true;
    } catch (...) {
        // No thread (or no memory for the ring): the pieces are read in turn.
        readerFailed_ = true;
        for (Slot& slot : slots_) slot.bytes = {};
        return false;
    }
}

bool ContentHashing::HashRead(HANDLE file, std::uint64_t size, const platform::ContentHashGoOn& goOn,
                              bool& abandoned, Sha256Stream& stream) {
    std::unique_lock<SlimLock> hold(lock_);
    filled_ = 0;
    file_ = file;
    size_ = size;
    abandon_ = false;
    failed_ = false;
    jobActive_ = true;
    readerWakes_.WakeOne();

    bool hashed = true;
    std::uint64_t done = 0;
    for (std::size_t next = 0; done < size; next = (next + 1) % kSlots) {
        if (filled_ == 0 && !failed_) {
            hasherWaiting_ = true;
            hasherWakes_.Wait(lock_, [&] { return filled_ > 0 || failed_; });
            hasherWaiting_ = false;
        }
        if (filled_ == 0) {
            hashed = false;
            break;
        }
        // The slots filled are the hasher's until it gives them back.
        const Slot& slot = slots_[next];
        hold.unlock();
        const bool added = stream.Add(slot.bytes.data(), slot.size);
        done += slot.size;
        const bool goesOn = done == size || !goOn || goOn();
        hold.lock();
        --filled_;
        // The reader, waiting for room, is woken once a few slots are free:
        // every waking costs a call to the system, on this thread.
        if (readerWaiting_ && filled_ <= kSlots - kRefill) readerWakes_.WakeOne();
        if (!added || !goesOn) {
            abandoned = !goesOn;
            hashed = false;
            break;
        }
    }
    // The file is closed after this returns: the reader must be done with it.
    abandon_ = true;
    readerWakes_.WakeOne();
    hasherWakes_.Wait(lock_, [&] { return !jobActive_; });
    file_ = nullptr;
    return hashed;
}

void ContentHashing::ReaderMain() {
    std::unique_lock<SlimLock> hold(lock_);
    for (;;) {
        readerWakes_.Wait(lock_, [&] { return quit_ || jobActive_; });
        if (quit_) return;
        ReadJob(hold);
        jobActive_ = false;
        hasherWakes_.WakeOne();
    }
}

void ContentHashing::ReadJob(std::unique_lock<SlimLock>& hold) {
    std::uint64_t read = 0;
    for (std::size_t next = 0; read < size_; next = (next + 1) % kSlots) {
        if (filled_ == kSlots && !abandon_ && !quit_) {
            readerWaiting_ = true;
            readerWakes_.Wait(lock_, [&] { return filled_ <= kSlots - kRefill || abandon_ || quit_; });
            readerWaiting_ = false;
        }
        if (abandon_ || quit_) return;
        const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(size_ - read, kContentHashPiece));
        HANDLE file = file_;
        // A slot not filled is the reader's until it fills it.
        Slot& slot = slots_[next];
        hold.unlock();
        const bool ok = ReadExactly(file, slot.bytes.data(), piece);
        hold.lock();
        if (!ok) {
            failed_ = true;
            hasherWakes_.WakeOne();
            return;
        }
        slot.size = piece;
        ++filled_;
        read += piece;
        if (hasherWaiting_) hasherWakes_.WakeOne();
    }
}

std::unique_ptr<platform::PendingContentHash> StartWorkerHash(const std::string& path, std::uint64_t size) {
    auto hash = std::make_unique<WorkerHash>(path, size);
    if (!hash->Start()) return nullptr;
    return hash;
}

}  // namespace bastion::win32
