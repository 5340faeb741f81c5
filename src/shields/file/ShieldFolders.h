// The folders the file shield watches: where new threats land (downloads,
// the desktop, documents, the start-up folders, the temporary folder), or
// the list the user made of them on the Options page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "services/settings/SettingsStore.h"

namespace bastion {

struct ShieldFolder {
    // Without a trailing backslash.
    std::string path;
    // Its subfolders too, or the files directly in it only.
    bool subfolders = true;
    friend bool operator==(const ShieldFolder&, const ShieldFolder&) = default;
};

// The user's Downloads, Desktop and Documents with their subfolders, the
// user's and all users' Startup folders, and the top level of the user's
// temporary folder; each once, and only those Windows names.
std::vector<ShieldFolder> DefaultShieldFolders(platform::Shell& shell, platform::SystemInfo& system);

// The stored form: the folders with "|" between them, "\*" after one
// watched without its subfolders (as a listing of its top level is
// written). Blank entries are left out, and a folder named twice counts
// once.
std::string FormatShieldFolders(const std::vector<ShieldFolder>& folders);
std::vector<ShieldFolder> ParseShieldFolders(std::string_view text);

// The list as stored, or the default one while the user has not changed
// it (an emptied list stays empty).
std::vector<ShieldFolder> StoredShieldFolders(const services::SettingsStore& settings, platform::Shell& shell,
                                              platform::SystemInfo& system);
void StoreShieldFolders(services::SettingsStore& settings, const std::vector<ShieldFolder>& folders);

// The folder joins the list (with its subfolders) unless it is on it; false
// when it was.
bool AddShieldFolder(std::vector<ShieldFolder>& folders, std::string path);

}  // namespace bastion
