// Files, folders and drives through the W functions; paths longer than the
// classic limit go through their "\\?\" form.
#pragma once

#include <memory>
#include <mutex>

#include "platform/FileSystem.h"
#include "platform/VolumeSerialMemo.h"

namespace bastion::win32 {

class ContentHashing;

class Win32FileSystem final : public platform::FileSystem {
public:
    Win32FileSystem();
    ~Win32FileSystem() override;
    Win32FileSystem(const Win32FileSystem&) = delete;
    Win32FileSystem& operator=(const Win32FileSystem&) = delete;

    std::unique_ptr<platform::FolderHandle> OpenFolder(const std::string& path, platform::LinkAtEnd atEnd) override;
    std::optional<platform::DirListing> ListDirectory(const std::string& folder) override;
    std::optional<platform::DirEntry> Lookup(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    std::optional<std::uint64_t> FileSize(const std::string& path) override;
    std::optional<platform::FileStamp> Stamp(const std::string& path) override;
    std::string FinalPath(const std::string& path) override;
    std::optional<platform::FolderLink> ReadFolderLink(const std::string& path) override;
    bool MakeFolderLink(const std::string& path, const platform::FolderLink& link) override;

    std::unique_ptr<platform::FileReader> OpenForRead(const std::string& path) override;
    std::optional<char> LastByte(const std::string& path) override;
    platform::ContentDigest ContentSha256(const std::string& path, const platform::ContentSizeWanted& wanted,
                                          const platform::ContentHashGoOn& goOn) override;
    std::unique_ptr<platform::PendingContentHash> StartContentSha256(const std::string& path,
                                                                     std::uint64_t size) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    std::unique_ptr<platform::MappedFile> MapForRead(const std::string& path) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool WritePieces(const std::string& path, const std::vector<std::string_view>& pieces) override;
    bool WriteFileFlushed(const std::string& path, const std::string& bytes) override;
    bool AppendFile(const std::string& path, const std::string& bytes) override;

    bool CopyFile(const std::string& from, const std::string& to, bool overwrite) override;
    bool MoveReplace(const std::string& from, const std::string& to) override;
    bool DeleteFile(const std::string& path) override;
    bool DeleteAtRestart(const std::string& path) override;
    bool DeletePendingAtRestart(const std::string& path) override;
    bool CancelDeleteAtRestart(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool CreateFolder(const std::string& path) override;
    bool CreateNewFile(const std::string& path) override;
    bool CreateNewFolder(const std::string& path) override;
    bool CopyFolderTree(const std::string& from, const std::string& to) override;
    bool DeleteFolderTree(const std::string& path) override;

    std::vector<platform::DriveInfo> ListDrives() override;
    std::optional<platform::VolumeInfo> GetVolumeInfo(const std::string& root) override;
    std::optional<platform::DriveSpace> GetDriveSpace(const std::string& root) override;

private:
    // Listings of a walk come one folder below another: most folders take
    // their volume serial from the folder that listed them. A walk lists on
    // several threads at once.
    std::mutex volumeSerialsMutex_;
    platform::VolumeSerialMemo volumeSerials_;
    // Made when the first file is hashed.
    std::unique_ptr<ContentHashing> contentHashing_;
};

}  // namespace bastion::win32
