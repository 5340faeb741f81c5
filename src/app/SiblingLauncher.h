// The button that starts the maker's sibling product, when one registered
// itself in the per-user store.
#pragma once

#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "services/dialogs/Dialogs.h"
#include "services/identity/Identity.h"
#include "services/messages/MessageCatalogue.h"
#include "services/settings/SettingsStore.h"

namespace bastion {

struct SiblingLauncher {
    const services::SettingsStore& settings;
    const services::Identity& identity;
    platform::FileSystem& files;
    platform::Shell& shell;
    services::Dialogs& dialogs;
    const services::MessageCatalogue& messages;
};

// Runs the sibling's program file (quoted, normal window), or tells the
// user that it is gone.
void cmdHijack_Click(const SiblingLauncher& launcher);

}  // namespace bastion
