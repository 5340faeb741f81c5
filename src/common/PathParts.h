// The parts of a Windows path that the program names itself by: its folder
// and its executable name.
#pragma once

#include <string>
#include <string_view>

namespace bastion {

// Everything before the last backslash ("C:\Program Files\Bastion" for
// "C:\Program Files\Bastion\Bastion.exe"); empty when there is none.
std::string FolderOfPath(std::string_view path);

// The name after the last backslash without its extension ("Bastion");
// a dot inside a folder name is no extension.
std::string FileTitleOfPath(std::string_view path);

}  // namespace bastion
