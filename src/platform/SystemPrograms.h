// The Windows programs Bastion shows things in: Explorer, the registry
// editor and Notepad.
#pragma once

#include <string>
#include <string_view>

#include "platform/Shell.h"

namespace bastion::platform {

inline constexpr std::string_view kExplorer = "explorer.exe";
inline constexpr std::string_view kRegistryEditor = "regedit.exe";
inline constexpr std::string_view kNotepad = "notepad.exe";

// A path as one argument: in quotes, so that blanks and commas (which
// Explorer reads as separators) stay part of it. A folder's trailing
// backslash is dropped, since before the closing quote it would escape it;
// a drive root ("C:\"), which holds neither blank nor comma, stays bare.
std::string QuotedPath(std::string_view path);

// The command line that starts the program from the Windows folder by its
// full path (no program of that name elsewhere on the search path stands
// in), quoted, followed by the arguments when there are any. The bare name
// when the system names no Windows folder.
std::string SystemProgramCommand(Shell& shell, std::string_view program, std::string_view arguments = {});

}  // namespace bastion::platform
