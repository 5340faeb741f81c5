// The parts of a Windows path that the program names itself by: its folder,
// its executable name, and whether it is rooted on a drive.
#pragma once

#include <string>
#include <string_view>

namespace bastion {

// Everything before the last backslash ("C:\Program Files\Bastion" for
// "C:\Program Files\Bastion\Bastion.exe"); empty when there is none.
std::string FolderOfPath(std::string_view path);

// The name after the last backslash ("Bastion.exe"); the whole path when it
// has none.
std::string FileNameOfPath(std::string_view path);

// The name after the last backslash without its extension ("Bastion");
// a dot inside a folder name is no extension.
std::string FileTitleOfPath(std::string_view path);

// True for "C:\..." (a letter, ":" and "\"): a path that names one place
// whatever the current folder is.
bool IsDrivePath(std::string_view path);

// True for "\\server\share..." (two backslashes and a server name): a
// folder on the network, such as a Documents folder redirected to a share.
bool IsNetworkPath(std::string_view path);

// The root a path lies under, with its trailing backslash: "C:\" for
// "C:\a\b", "\\server\share\" for "\\server\share\a"; for any other
// text the part before its first backslash, followed by one.
std::string RootOfPath(std::string_view path);

}  // namespace bastion
