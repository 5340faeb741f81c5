// The button that starts the maker's sibling product, when one registered
// itself in the per-user store.
#pragma once

#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "ui/Dialogs.h"
#include "ui/Identity.h"
#include "ui/MessageCatalogue.h"
#include "ui/settings/SettingsStore.h"

namespace bastion {

struct SiblingLauncher {
    const ui::SettingsStore& settings;
    const ui::Identity& identity;
    platform::FileSystem& files;
    platform::Shell& shell;
    ui::Dialogs& dialogs;
    const ui::MessageCatalogue& messages;
};

// Runs the sibling's program file (quoted, normal window), or tells the
// user that it is gone.
void cmdHijack_Click(const SiblingLauncher& launcher);

}  // namespace bastion
