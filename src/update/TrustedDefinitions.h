// Definitions a run can trust when the user's data folder cannot be: a run
// with administrator rights (started again elevated to stop a threat) must
// not take its definitions, which decide what it deletes, from files any
// program of the user may edit. It builds them from the starter set in the
// program folder (written by administrators only, once installed) and the
// signed deltas kept beside the definitions, each verified again, and
// never reads the definition files. The exclusion list only ever takes
// items out of a scan, so it is read from the user's folder as always.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/DateTime.h"
#include "platform/FileSystem.h"
#include "update/DefinitionTrust.h"

namespace bastion {

struct TrustedDefinitions {
    // Every definition file of the set and "date.dat", by name, as stored.
    std::vector<std::pair<std::string, std::string>> files;
    DateTime date;
    // The kept deltas that did not verify, skipped.
    std::vector<std::string> skipped;
};

// The starter set with the kept deltas applied in turn: from the starter
// set's date, each time the one that goes furthest among those that hold
// every change after the date reached.
TrustedDefinitions BuildTrustedDefinitions(platform::FileSystem& files, std::string_view programFolder,
                                           std::string_view dataFolder, const DefinitionTrust& trust);

// The machine's file system, except that the definition files and
// "date.dat" of the data folder read as BuildTrustedDefinitions makes them.
// Everything else, writes to those files included, goes to the file
// system; a delta kept (by an update of this run) has them made again at
// the next read.
class TrustedDefinitionFiles final : public platform::FileSystem {
public:
    TrustedDefinitionFiles(platform::FileSystem& inner, std::string programFolder, std::string dataFolder,
                           DefinitionTrust trust);

    // The kept deltas skipped at the last making, for the scan report.
    std::vector<std::string> Skipped();

    // Folder handles serve removal and restore, never the definitions.
    std::unique_ptr<platform::FolderHandle> OpenFolder(const std::string& path, platform::LinkAtEnd atEnd) override {
        return inner_.OpenFolder(path, atEnd);
    }
    std::optional<platform::DirListing> ListDirectory(const std::string& folder) override {
        return inner_.ListDirectory(folder);
    }
    std::optional<platform::DirEntry> Lookup(const std::string& path) override;
    bool FolderExists(const std::string& path) override { return inner_.FolderExists(path); }
    std::optional<std::uint64_t> FileSize(const std::string& path) override;
    std::optional<platform::FileStamp> Stamp(const std::string& path) override;
    std::string FinalPath(const std::string& path) override { return inner_.FinalPath(path); }
    std::optional<platform::FolderLink> ReadFolderLink(const std::string& path) override {
        return inner_.ReadFolderLink(path);
    }
    bool MakeFolderLink(const std::string& path, const platform::FolderLink& link) override {
        return inner_.MakeFolderLink(path, link);
    }
    std::unique_ptr<platform::FileReader> OpenForRead(const std::string& path) override;
    std::optional<char> LastByte(const std::string& path) override;
    platform::ContentDigest ContentSha256(const std::string& path, const platform::ContentSizeWanted& wanted,
                                          const platform::ContentHashGoOn& goOn) override {
        return inner_.ContentSha256(path, wanted, goOn);
    }
    std::unique_ptr<platform::PendingContentHash> StartContentSha256(const std::string& path,
                                                                    std::uint64_t size) override {
        return inner_.StartContentSha256(path, size);
    }
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool AppendFile(const std::string& path, const std::string& bytes) override;
    bool WriteFileFlushed(const std::string& path, const std::string& bytes) override;
    bool CopyFile(const std::string& from, const std::string& to, bool overwrite) override;
    bool MoveReplace(const std::string& from, const std::string& to) override;
    bool DeleteFile(const std::string& path) override;
    bool DeleteAtRestart(const std::string& path) override { return inner_.DeleteAtRestart(path); }
    bool DeletePendingAtRestart(const std::string& path) override { return inner_.DeletePendingAtRestart(path); }
    bool CancelDeleteAtRestart(const std::string& path) override { return inner_.CancelDeleteAtRestart(path); }
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
        return inner_.SetAttributes(path, attributes);
    }
    bool CreateFolder(const std::string& path) override { return inner_.CreateFolder(path); }
    bool CreateNewFile(const std::string& path) override { return Written(path, inner_.CreateNewFile(path)); }
    bool CreateNewFolder(const std::string& path) override { return inner_.CreateNewFolder(path); }
    bool CopyFolderTree(const std::string& from, const std::string& to) override {
        return Written(to, inner_.CopyFolderTree(from, to));
    }
    bool DeleteFolderTree(const std::string& path) override { return Written(path, inner_.DeleteFolderTree(path)); }
    std::vector<platform::DriveInfo> ListDrives() override { return inner_.ListDrives(); }
    std::optional<platform::VolumeInfo> GetVolumeInfo(const std::string& root) override {
        return inner_.GetVolumeInfo(root);
    }
    std::optional<platform::DriveSpace> GetDriveSpace(const std::string& root) override {
        return inner_.GetDriveSpace(root);
    }

private:
    // The trusted content for a path, or nullptr when the path is not one
    // of the files served from them.
    const std::string* Trusted(const std::string& path);
    // Passes a write's result on, and has the files made again after one
    // among the kept deltas.
    bool Written(const std::string& path, bool result);

    platform::FileSystem& inner_;
    const std::string programFolder_;
    const std::string dataFolder_;
    const DefinitionTrust trust_;
    bool stale_ = true;
    // Counts the makings: what tells one content from another in stamps.
    std::uint64_t generation_ = 0;
    TrustedDefinitions made_;
};

}  // namespace bastion
