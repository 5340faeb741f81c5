// The programs of Windows that must keep running, whatever a definition
// says: ended, they take the session or the whole machine down with them.
// A built-in list, not a definition, so that no update can change it.
#pragma once

#include <string_view>

#include "platform/FileSystem.h"

namespace bastion {

// True for the session manager, the client/server runtime, Windows start-up
// and log-on, the services, the local security authority and the service
// hosts, each only as the program in the system folder, and for the shell
// only as the program in the Windows folder (the folder above the system
// folder). A program of such a name anywhere else is no part of Windows.
// The path as ComparableProgramPath gives it.
bool IsPartOfWindows(platform::FileSystem& files, std::string_view comparablePath, std::string_view systemFolder);

}  // namespace bastion
