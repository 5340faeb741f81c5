#include "support/FakeShell.h"

namespace bastion::testing {

using namespace platform;

FakeShell::FakeShell() {
    const std::string& user = kUserProfile;
    const std::string& all = kAllUsersProfile;
    folders_ = {
        {csidl::kPersonal, user + "\\My Documents"},
        {csidl::kFavorites, user + "\\Favorites"},
        {csidl::kStartup, user + "\\Start Menu\\Programs\\Startup"},
        {csidl::kRecent, user + "\\Recent"},
        {csidl::kSendTo, user + "\\SendTo"},
        {csidl::kStartMenu, user + "\\Start Menu"},
        {csidl::kDesktopDirectory, user + "\\Desktop"},
        {csidl::kPrograms, user + "\\Start Menu\\Programs"},
        {csidl::kFonts, "C:\\WINDOWS\\Fonts"},
        {csidl::kTemplates, user + "\\Templates"},
        {csidl::kCommonStartMenu, all + "\\Start Menu"},
        {csidl::kCommonPrograms, all + "\\Start Menu\\Programs"},
        {csidl::kCommonStartup, all + "\\Start Menu\\Programs\\Startup"},
        {csidl::kCommonDesktopDirectory, all + "\\Desktop"},
        {csidl::kAppData, user + "\\Application Data"},
        {csidl::kAltStartup, user + "\\Start Menu\\Programs\\Startup"},
        {csidl::kCommonAltStartup, all + "\\Start Menu\\Programs\\Startup"},
        {csidl::kCommonFavorites, all + "\\Favorites"},
        {csidl::kInternetCache, user + "\\Local Settings\\Temporary Internet Files"},
        {csidl::kCookies, user + "\\Cookies"},
        {csidl::kHistory, user + "\\Local Settings\\History"},
        {csidl::kCommonAppData, all + "\\Application Data"},
        {csidl::kWindows, "C:\\WINDOWS"},
        {csidl::kSystem, "C:\\WINDOWS\\system32"},
        {csidl::kProgramFiles, "C:\\Program Files"},
        {csidl::kProgramFilesCommon, "C:\\Program Files\\Common Files"},
        {csidl::kCommonTemplates, all + "\\Templates"},
        {csidl::kCommonDocuments, all + "\\Documents"},
        {csidl::kProfile, user},
    };
}

std::optional<std::string> FakeShell::SpecialFolderPath(int csidl) {
    auto found = folders_.find(csidl);
    if (found == folders_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<std::string> FakeShell::ProgramsFolderFromIdList() {
    if (programsFromIdListSet_) {
        return programsFromIdList_;
    }
    return SpecialFolderPath(csidl::kPrograms);
}

std::optional<std::string> FakeShell::AllUsersProfilePath() {
    return allUsersProfile;
}

void FakeShell::Use64BitWindows() {
    SetFolder(csidl::kProgramFilesX86, "C:\\Program Files (x86)");
    SetFolder(csidl::kProgramFilesCommonX86, "C:\\Program Files (x86)\\Common Files");
    SetFolder(csidl::kSystemX86, "C:\\WINDOWS\\SysWOW64");
}

bool FakeShell::Open(const std::string& target, ShowWindow show) {
    calls.push_back({ShellCall::Kind::Open, target, show});
    return !failOpen;
}

bool FakeShell::StartProgram(const std::string& commandLine, ShowWindow show) {
    calls.push_back({ShellCall::Kind::StartProgram, commandLine, show});
    return !failStart;
}

bool FakeShell::StartElevated(const std::string& programPath, const std::string& arguments) {
    calls.push_back({ShellCall::Kind::StartElevated, programPath + " " + arguments, ShowWindow::Normal});
    return !declineElevation;
}

bool FakeShell::SetClipboardText(const std::string& text) {
    if (failClipboard) {
        return false;
    }
    clipboard = text;
    return true;
}

std::optional<std::string> FakeShell::GetClipboardText() {
    if (failClipboard) {
        return std::nullopt;
    }
    return clipboard;
}

void FakeShell::SetFolder(int csidl, const std::string& path) {
    folders_[csidl] = path;
}

void FakeShell::RemoveFolder(int csidl) {
    folders_.erase(csidl);
}

void FakeShell::SetProgramsFolderFromIdList(std::optional<std::string> path) {
    programsFromIdListSet_ = true;
    programsFromIdList_ = std::move(path);
}

std::vector<std::string> FakeShell::FolderPaths() const {
    std::vector<std::string> paths;
    for (const auto& [id, path] : folders_) {
        paths.push_back(path);
    }
    return paths;
}

}  // namespace bastion::testing
