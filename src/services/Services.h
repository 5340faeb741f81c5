// What the parts of the program work with: the machine's facilities, the
// user's side (dialogs and the event pump), the one operation at a time and
// the background work it holds off, the words in the user's language, who
// the program is, its settings and its data folder. One App owns them; each
// part gets this bundle of references and uses what it needs.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "services/dialogs/Dialogs.h"
#include "services/identity/Identity.h"
#include "services/messages/MessageCatalogue.h"
#include "services/operations/BackgroundWork.h"
#include "services/operations/OperationGate.h"
#include "services/settings/SettingsStore.h"
#include "services/waits/EventPump.h"

namespace bastion::services {

struct Services : platform::Platform {
    Dialogs& dialogs;
    EventPump& pump;
    OperationGate& operations;
    const MessageCatalogue& messages;
    const Identity& identity;
    SettingsStore& settings;
    // Without a trailing backslash.
    const std::string& dataFolder;
    BackgroundWork& background;
};

}  // namespace bastion::services
