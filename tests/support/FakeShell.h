// The shell of a Windows XP machine with the usual English folder layout
// (C:\WINDOWS, C:\Documents and Settings\User, ...); every special folder
// can be moved or taken away per test. Open and StartProgram calls are
// recorded, not carried out.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace bastion::testing {

struct ShellCall {
    enum class Kind { Open, StartProgram, StartElevated };
    Kind kind = Kind::Open;
    std::string target;  // the document, folder or command line (a program and its arguments)
    platform::ShowWindow show = platform::ShowWindow::Normal;
    friend bool operator==(const ShellCall&, const ShellCall&) = default;
};

class FakeShell : public platform::Shell {
public:
    inline static const std::string kUserProfile = "C:\\Documents and Settings\\User";
    inline static const std::string kAllUsersProfile = "C:\\Documents and Settings\\All Users";

    FakeShell();

    // platform::Shell
    std::optional<std::string> SpecialFolderPath(int csidl) override;
    std::optional<std::string> ProgramsFolderFromIdList() override;
    std::optional<std::string> AllUsersProfilePath() override;
    std::optional<std::string> DownloadsFolderPath() override { return downloads; }
    bool Open(const std::string& target, platform::ShowWindow show) override;
    bool StartProgram(const std::string& commandLine, platform::ShowWindow show) override;
    bool StartElevated(const std::string& programPath, const std::string& arguments) override;
    bool SetClipboardText(const std::string& text) override;
    std::optional<std::string> GetClipboardText() override;

    // Setup.
    void SetFolder(int csidl, const std::string& path);
    // The folder has no file-system path, as for a virtual folder.
    void RemoveFolder(int csidl);
    // What ProgramsFolderFromIdList gives; by default the Programs folder.
    void SetProgramsFolderFromIdList(std::optional<std::string> path);
    // What AllUsersProfilePath gives; by default kAllUsersProfile.
    std::optional<std::string> allUsersProfile = kAllUsersProfile;
    // What DownloadsFolderPath gives.
    std::optional<std::string> downloads = kUserProfile + "\\Downloads";
    // Program Files (x86), its Common Files and SysWOW64 under C:\, as on
    // 64-bit Windows (the XP layout has none of them).
    void Use64BitWindows();
    // Every folder path the shell names, for creating them on a fake disk.
    std::vector<std::string> FolderPaths() const;

    bool failOpen = false;
    bool failStart = false;
    // The user declines the elevation.
    bool declineElevation = false;
    bool failClipboard = false;

    // Open, StartProgram and StartElevated calls in order, failed ones
    // included.
    std::vector<ShellCall> calls;
    std::optional<std::string> clipboard;

private:
    std::map<int, std::string> folders_;
    bool programsFromIdListSet_ = false;
    std::optional<std::string> programsFromIdList_;
};

}  // namespace bastion::testing
