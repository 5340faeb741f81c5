// Every facility of the machine, as the composition roots hand them down.
// Components take the single facilities they use, not this bundle.
#pragma once

#include "common/CodePage.h"
#include "platform/Clock.h"
#include "platform/Crypto.h"
#include "platform/FileSystem.h"
#include "platform/FolderWatcher.h"
#include "platform/InstanceLock.h"
#include "platform/Internet.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/SystemRestore.h"

namespace bastion::platform {

struct Platform {
    Registry& registry;
    FileSystem& files;
    Shell& shell;
    Processes& processes;
    SystemInfo& system;
    Internet& internet;
    SystemRestore& restore;
    Clock& clock;
    const CodePage& codePage;
    InstanceLock& instances;
    Crypto& crypto;
    FolderWatcher& watcher;
};

}  // namespace bastion::platform
