// Folders no removal takes, whatever a definition says: a drive root, the
// Windows, system and program folders, the profile roots, the program's own
// folder and the data folder, or any folder above one of them; and
// anything inside the quarantine, which holds what earlier removals kept.
#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"
#include "platform/SystemInfo.h"

namespace bastion {

class NeverRemoved {
public:
    NeverRemoved(platform::Shell& shell, platform::SystemInfo& system, const std::string& dataFolder,
                 const std::string& quarantineFolder);

    bool Contains(const std::string& path) const;

private:
    // Lower-cased, without a trailing backslash.
    std::vector<std::string> folders_;
    std::string quarantine_;
};

}  // namespace bastion
