// The Windows shell: special folders, opening documents and folders,
// starting programs, the clipboard.
#pragma once

#include <optional>
#include <string>

namespace bastion::platform {

// The published CSIDL values the path tokens use.
namespace csidl {
inline constexpr int kPersonal = 5;
inline constexpr int kFavorites = 6;
inline constexpr int kStartup = 7;
inline constexpr int kRecent = 8;
inline constexpr int kSendTo = 9;
inline constexpr int kBitBucket = 10;
inline constexpr int kStartMenu = 11;
inline constexpr int kDesktopDirectory = 16;
inline constexpr int kPrograms = 2;
inline constexpr int kFonts = 20;
inline constexpr int kTemplates = 21;
inline constexpr int kCommonStartMenu = 22;
inline constexpr int kCommonPrograms = 23;
inline constexpr int kCommonStartup = 24;
inline constexpr int kCommonDesktopDirectory = 25;
inline constexpr int kAppData = 26;
inline constexpr int kAltStartup = 29;
inline constexpr int kCommonAltStartup = 30;
inline constexpr int kCommonFavorites = 31;
inline constexpr int kInternetCache = 32;
inline constexpr int kCookies = 33;
inline constexpr int kHistory = 34;
inline constexpr int kCommonAppData = 35;
inline constexpr int kWindows = 36;
inline constexpr int kSystem = 37;
inline constexpr int kProgramFiles = 38;
inline constexpr int kProfile = 40;
// The 32-bit twins of the system and program folders on 64-bit Windows;
// 32-bit Windows names the folders themselves or none.
inline constexpr int kSystemX86 = 41;
inline constexpr int kProgramFilesX86 = 42;
inline constexpr int kProgramFilesCommon = 43;
inline constexpr int kProgramFilesCommonX86 = 44;
inline constexpr int kCommonTemplates = 45;
inline constexpr int kCommonDocuments = 46;
}  // namespace csidl

// How a started program's window is shown.
enum class ShowWindow { Normal, Minimized, MinimizedNoActivate, Maximized, Hidden };

class Shell {
public:
    virtual ~Shell() = default;

    // The file-system path of a special folder, without a trailing
    // backslash, not created when absent; nullopt for virtual folders (the
    // Recycle Bin) and identifiers the system does not know.
    virtual std::optional<std::string> SpecialFolderPath(int csidl) = 0;
    // The Programs menu folder through its item identifier list, the way the
    // drive root for "[drive]" is found.
    virtual std::optional<std::string> ProgramsFolderFromIdList() = 0;
    // The profile folder all users share (C:\ProgramData, or
    // C:\Documents and Settings\All Users before Vista), without a trailing
    // backslash; no special-folder identifier names it.
    virtual std::optional<std::string> AllUsersProfilePath() = 0;
    // The user's Downloads folder, wherever it was moved; nullopt where
    // Windows knows none (before Vista).
    virtual std::optional<std::string> DownloadsFolderPath() = 0;

    // Hands a document, folder or address to the shell's "open" action.
    virtual bool Open(const std::string& target, ShowWindow show) = 0;
    // Starts a command line ("notepad C:\x.txt").
    virtual bool StartProgram(const std::string& commandLine, ShowWindow show) = 0;
    // Starts the program with administrator rights (the system asks the
    // user first); false when it was not started, the user declining
    // included.
    virtual bool StartElevated(const std::string& programPath, const std::string& arguments) = 0;

    virtual bool SetClipboardText(const std::string& text) = 0;
    virtual std::optional<std::string> GetClipboardText() = 0;
};

}  // namespace bastion::platform
