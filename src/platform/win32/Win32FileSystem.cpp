#include "platform/win32/Win32FileSystem.h"

#include <algorithm>
#include <vector>

#include "platform/FolderHandles.h"
#include "platform/win32/ContentHashing.h"
#include "platform/win32/FileAccess.h"
#include "platform/win32/FolderLinks.h"
#include "platform/win32/FolderListing.h"
#include "platform/win32/FolderTree.h"
#include "platform/win32/Handles.h"
#include "platform/win32/PendingDeletions.h"
#include "platform/win32/Win32FolderHandle.h"
#include "platform/win32/WideText.h"

namespace bastion::win32 {

using platform::DirEntry;
using platform::DirListing;
using platform::DriveInfo;
using platform::DriveSpace;
using platform::DriveType;
using platform::FileIdentity;
using platform::FileStamp;
using platform::VolumeInfo;

namespace {

// ReadFile and WriteFile take at most a DWORD per call.
constexpr std::size_t kMaxTransfer = 1u << 30;

std::uint64_t Combine(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

DirEntry ToEntry(const WIN32_FIND_DATAW& data) {
    return DirEntry{NarrowUntilNul(data.cFileName, MAX_PATH), data.dwFileAttributes,
                    Combine(data.nFileSizeHigh, data.nFileSizeLow)};
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min(bytes.size() - done, kMaxTransfer));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

class Win32MappedFile final : public platform::MappedFile {
public:
    Win32MappedFile(UniqueMappedView view, std::size_t size) : view_(std::move(view)), size_(size) {}
    std::string_view Bytes() const override { return {static_cast<const char*>(view_.Get()), size_}; }

private:
    UniqueMappedView view_;
    std::size_t size_;
};

UniqueHandle OpenReading(const std::string& path) {
    return UniqueHandle(::CreateFileW(SystemPath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

std::optional<std::size_t> ReadSome(HANDLE file, char* buffer, std::size_t size) {
    DWORD read = 0;
    DWORD chunk = static_cast<DWORD>(std::min(size, kMaxTransfer));
    if (!::ReadFile(file, buffer, chunk, &read, nullptr)) {
        return std::nullopt;
    }
    return read;
}

class Win32FileReader final : public platform::FileReader {
public:
    explicit Win32FileReader(UniqueHandle file) : file_(std::move(file)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::optional<std::size_t> read = ReadSome(file_.Get(), buffer, size);
        failed_ = failed_ || !read;
        return read.value_or(0);
    }
    bool Failed() const override { return failed_; }

private:
    UniqueHandle file_;
    bool failed_ = false;
};

std::wstring RootWithSeparator(const std::string& root) {
    std::wstring wide = Widen(root);
    if (wide.empty() || (wide.back() != L'\\' && wide.back() != L'/')) {
        wide += L'\\';
    }
    return wide;
}

DriveType ToDriveType(UINT type) {
    switch (type) {
        case DRIVE_REMOVABLE:
            return DriveType::Removable;
        case DRIVE_FIXED:
            return DriveType::Fixed;
        case DRIVE_REMOTE:
            return DriveType::Network;
        case DRIVE_CDROM:
            return DriveType::CdRom;
        case DRIVE_RAMDISK:
            return DriveType::RamDisk;
        case DRIVE_NO_ROOT_DIR:
            return DriveType::NoRootDir;
        default:
            return DriveType::Unknown;
    }
}

// While it lives, a drive without a medium fails quietly instead of asking
// the user to insert a disk.
class QuietDriveErrors {
public:
    QuietDriveErrors() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    ~QuietDriveErrors() { ::SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    DWORD previous_ = 0;
};

}  // namespace

Win32FileSystem::Win32FileSystem() = default;

Win32FileSystem::~Win32FileSystem() = default;

std::optional<DirListing> Win32FileSystem::ListDirectory(const std::string& folder) {
    const std::wstring wide = Widen(folder);
    // One handle serves the entries and the folder's identity: opening the
    // folder a second time for its identity would double the cost of a walk.
    UniqueHandle handle(::CreateFileW(SystemPath(wide).c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE, kShareAll,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) {
        return std::nullopt;
    }
    DirListing listing;
    std::vector<std::wstring> plainSubfolders;
    const bool listed = ReadFolderEntries(handle.Get(), [&](const ListedEntry& entry) {
        if (IsPlainFolder(entry.attributes)) {
            plainSubfolders.emplace_back(entry.name);
        }
        listing.entries.push_back(DirEntry{Narrow(entry.name), entry.attributes, entry.size});
    });
    if (!listed) {
        return std::nullopt;
    }
    std::optional<std::uint32_t> serial;
    {
        std::lock_guard<std::mutex> lock(volumeSerialsMutex_);
        serial = volumeSerials_.Find(wide);
    }
    if (!serial) {
        serial = VolumeSerial(handle.Get());
    }
    const std::optional<std::uint64_t> index = FileIndex(handle.Get());
    if (serial && index) {
        listing.identity = FileIdentity{*serial, *index >> 32, *index & 0xFFFFFFFFu, true};
        std::lock_guard<std::mutex> lock(volumeSerialsMutex_);
        volumeSerials_.Remember(wide, *serial, std::move(plainSubfolders));
    }
    return listing;
}

std::optional<DirEntry> Win32FileSystem::Lookup(const std::string& path) {
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileExW(SystemPath(path).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                             nullptr, 0));
    if (!find) {
        return std::nullopt;
    }
    return ToEntry(data);
}

bool Win32FileSystem::FolderExists(const std::string& path) {
    DWORD attributes = ::GetFileAttributesW(SystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::uint64_t> Win32FileSystem::FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return Combine(data.nFileSizeHigh, data.nFileSizeLow);
}

std::optional<FileStamp> Win32FileSystem::Stamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return FileStamp{Combine(data.nFileSizeHigh, data.nFileSizeLow),
                     Combine(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

std::unique_ptr<platform::FolderHandle> Win32FileSystem::OpenFolder(const std::string& path,
                                                                     platform::LinkAtEnd atEnd) {
    return OpenFolderAt(path, atEnd);
}

std::string Win32FileSystem::FinalPath(const std::string& path) { return Narrow(FinalPathOf(Widen(path))); }

std::optional<platform::FolderLink> Win32FileSystem::ReadFolderLink(const std::string& path) {
    return ReadFolderLinkAt(Widen(path));
}

bool Win32FileSystem::MakeFolderLink(const std::string& path, const platform::FolderLink& link) {
    return MakeFolderLinkAt(Widen(path), link);
}

std::unique_ptr<platform::FileReader> Win32FileSystem::OpenForRead(const std::string& path) {
    UniqueHandle file = OpenReading(path);
    if (!file) {
        return nullptr;
    }
    return std::make_unique<Win32FileReader>(std::move(file));
}

std::optional<char> Win32FileSystem::LastByte(const std::string& path) {
    UniqueHandle file = OpenReading(path);
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0) {
        return std::nullopt;
    }
    LARGE_INTEGER last{};
    last.QuadPart = size.QuadPart - 1;
    char byte = 0;
    if (!::SetFilePointerEx(file.Get(), last, nullptr, FILE_BEGIN) || ReadSome(file.Get(), &byte, 1) != 1u) {
        return std::nullopt;
    }
    return byte;
}

platform::ContentDigest Win32FileSystem::ContentSha256(const std::string& path,
                                                      const platform::ContentSizeWanted& wanted,
                                                      const platform::ContentHashGoOn& goOn) {
    if (!contentHashing_) contentHashing_ = std::make_unique<ContentHashing>();
    return contentHashing_->Hash(path, wanted, goOn);
}

std::unique_ptr<platform::PendingContentHash> Win32FileSystem::StartContentSha256(const std::string& path,
                                                                                  std::uint64_t size) {
    return StartWorkerHash(path, size);
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) {
    UniqueHandle file = OpenReading(path);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0) {
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    // Read to the end rather than to the size asked before: the file may
    // grow or shrink meanwhile.
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr)) {
            return std::nullopt;
        }
        if (read == 0) {
            return bytes;
        }
        bytes.append(buffer, read);
    }
}

bool Win32FileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    UniqueHandle file(::CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.Get(), bytes);
}

std::unique_ptr<platform::MappedFile> Win32FileSystem::MapForRead(const std::string& path) {
    // Others may read it and rename it away meanwhile, not write it.
    UniqueHandle file(::CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > SIZE_MAX / 2) {
        return nullptr;
    }
    // The view keeps the mapping, and the mapping the file.
    const UniqueHandle mapping(::CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return nullptr;
    UniqueMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return nullptr;
    return std::make_unique<Win32MappedFile>(std::move(view), static_cast<std::size_t>(size.QuadPart));
}

bool Win32FileSystem::WritePieces(const std::string& path, const std::vector<std::string_view>& pieces) {
    UniqueHandle file(::CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    for (std::string_view piece : pieces) {
        if (!WriteAll(file.Get(), piece)) return false;
    }
    return true;
}

bool Win32FileSystem::WriteFileFlushed(const std::string& path, const std::string& bytes) {
    UniqueHandle file(::CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
}

bool Win32FileSystem::AppendFile(const std::string& path, const std::string& bytes) {
    UniqueHandle file(::CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER zero{};
    return file && ::SetFilePointerEx(file.Get(), zero, nullptr, FILE_END) && WriteAll(file.Get(), bytes);
}

bool Win32FileSystem::CopyFile(const std::string& from, const std::string& to, bool overwrite) {
    return ::CopyFileW(SystemPath(from).c_str(), SystemPath(to).c_str(), overwrite ? FALSE : TRUE) != FALSE;
}

bool Win32FileSystem::MoveReplace(const std::string& from, const std::string& to) {
    return ::MoveFileExW(SystemPath(from).c_str(), SystemPath(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32FileSystem::DeleteFile(const std::string& path) { return ::DeleteFileW(SystemPath(path).c_str()) != FALSE; }

bool Win32FileSystem::DeleteAtRestart(const std::string& path) {
    // The list of pending deletions takes the ordinary path form, unless
    // only the literal one names the file.
    const std::wstring wide = Widen(path);
    return ::MoveFileExW(NeedsLiteralForm(wide) ? SystemPath(wide).c_str() : wide.c_str(), nullptr,
                         MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

bool Win32FileSystem::DeletePendingAtRestart(const std::string& path) { return IsDeletionPendingAtRestart(Widen(path)); }

bool Win32FileSystem::CancelDeleteAtRestart(const std::string& path) { return CancelDeletionAtRestart(Widen(path)); }

bool Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    return ::SetFileAttributesW(SystemPath(path).c_str(), attributes) != FALSE;
}

bool Win32FileSystem::CreateFolder(const std::string& path) { return CreateFolderChain(Widen(path)); }

bool Win32FileSystem::CreateNewFile(const std::string& path) {
    const UniqueHandle file(::CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

bool Win32FileSystem::CreateNewFolder(const std::string& path) {
    return ::CreateDirectoryW(SystemPath(path).c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::CopyFolderTree(const std::string& from, const std::string& to) {
    return CopyTree(Widen(from), Widen(to));
}

bool Win32FileSystem::DeleteFolderTree(const std::string& path) { return platform::DeleteFolderTreeAt(*this, path); }

std::vector<DriveInfo> Win32FileSystem::ListDrives() {
    std::vector<DriveInfo> drives;
    std::vector<wchar_t> buffer(128);
    DWORD length = ::GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = ::GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    if (length == 0 || length >= buffer.size()) {
        return drives;
    }
    QuietDriveErrors quiet;
    // "A:\", NUL, "C:\", NUL, ..., NUL.
    for (const wchar_t* root = buffer.data(); *root != L'\0'; root += wcslen(root) + 1) {
        DriveInfo drive;
        drive.letter = Narrow(std::wstring_view(root, 1));
        drive.type = ToDriveType(::GetDriveTypeW(root));
        drive.ready = ::GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) != FALSE;
        drives.push_back(std::move(drive));
    }
    return drives;
}

std::optional<VolumeInfo> Win32FileSystem::GetVolumeInfo(const std::string& root) {
    QuietDriveErrors quiet;
    wchar_t label[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0;
    if (!::GetVolumeInformationW(RootWithSeparator(root).c_str(), label, MAX_PATH + 1, &serial, nullptr, nullptr,
                                 fileSystem, MAX_PATH + 1)) {
        return std::nullopt;
    }
    return VolumeInfo{NarrowUntilNul(label, MAX_PATH + 1), serial, NarrowUntilNul(fileSystem, MAX_PATH + 1)};
}

std::optional<DriveSpace> Win32FileSystem::GetDriveSpace(const std::string& root) {
    QuietDriveErrors quiet;
    ULARGE_INTEGER available{};
    ULARGE_INTEGER total{};
    ULARGE_INTEGER totalFree{};
    if (!::GetDiskFreeSpaceExW(RootWithSeparator(root).c_str(), &available, &total, &totalFree)) {
        return std::nullopt;
    }
    return DriveSpace{total.QuadPart, totalFree.QuadPart};
}

}  // namespace bastion::win32
