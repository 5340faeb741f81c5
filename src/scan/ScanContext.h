// What every scan works with: the machine's facilities, the data folder,
// the path tokens resolved for this scan, the safety and exclusion lists,
// the run-wide scan state, the event pump and the definition tables. The
// controller builds one per scan; the referenced objects outlive it.
#pragma once

#include <string>

#include "common/CodePage.h"
#include "definitions/DefinitionTables.h"
#include "definitions/ExclusionList.h"
#include "definitions/PathTokens.h"
#include "definitions/SafetyList.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "scan/state/ScanState.h"
#include "services/waits/EventPump.h"

namespace bastion {

struct ScanContext {
    platform::FileSystem& files;
    const CodePage& codePage;
    platform::SystemInfo& system;
    // Without a trailing backslash.
    const std::string& dataFolder;
    const PathTokens& tokens;
    const SafetyList& safety;
    // Read by every scan; the memory shield's "ALLOW" adds to it.
    ExclusionList& exclusions;
    ScanState& state;
    services::EventPump& pump;
    DefinitionTables& tables;
    platform::Registry& registry;
    platform::Shell& shell;
    platform::Processes& processes;
};

}  // namespace bastion
