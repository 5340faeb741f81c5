// Folders no removal takes, whatever a definition says: a drive root, the
// Windows, system and program folders, the profile roots, the program's own
// folder and the data folder, or any folder above one of them; and
// anything inside the quarantine, which holds what earlier removals kept.
// Paths are compared by where they lead, not by how they are written.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "removal/files/FinalPlaces.h"

namespace bastion {

class NeverRemoved {
public:
    NeverRemoved(platform::FileSystem& files, platform::Shell& shell, platform::SystemInfo& system,
                 const std::string& dataFolder, const std::string& quarantineFolder);

    bool Contains(const std::string& path) const;

private:
    FinalPlaces folders_;
    FinalPlaces quarantine_;
};

}  // namespace bastion
