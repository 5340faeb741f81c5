// The memory shield: every tick of tmrMemoryInspected (and every third tick
// of the home-page shield) compares the running programs with the
// executable definitions, and asks the user about each one it finds, one
// alert after the other: "STOP" ends that process, "ALLOW" puts its file
// name on the exclusion list, closing the alert does neither.
//
// A tick is background work: it runs only while no operation runs and no
// modal window is open, and is itself an operation while it looks and asks,
// so that nothing else starts inside it; an exit meanwhile closes the alert
// and ends the program once the tick has returned.
#pragma once

#include <optional>
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
#include "scan/processes/ProcessScanner.h"
#include "scan/state/ScanState.h"
#include "shields/ShieldTimers.h"
#include "ui/Dialogs.h"
#include "ui/EventPump.h"
#include "ui/MessageCatalogue.h"
#include "ui/OperationGate.h"
#include "ui/forms/FrmSpywareFoundAlert.h"
#include "ui/settings/SettingsStore.h"

namespace bastion {

// What the shield reads and writes; the referenced objects outlive it.
struct MemoryShieldEnvironment {
    platform::FileSystem& files;
    const CodePage& codePage;
    platform::SystemInfo& system;
    platform::Registry& registry;
    platform::Shell& shell;
    platform::Processes& processes;
    ui::Dialogs& dialogs;
    ui::EventPump& pump;
    ui::OperationGate& operations;
    const ui::MessageCatalogue& messages;
    const std::string& productName;
    const ui::SettingsStore& settings;
    // Without a trailing backslash.
    const std::string& dataFolder;
    const SafetyList& safety;
    ExclusionList& exclusions;
    DefinitionTables& tables;
    // The main window's lists, which the shield leaves as the last scan left
    // them.
    ScanState& state;
    ProcessScanner& scanner;
    ShieldTimers& timers;
};

class MemoryShield {
public:
    // Takes over tmrMemoryInspected's tick and the process scan's alert.
    explicit MemoryShield(MemoryShieldEnvironment environment);
    MemoryShield(const MemoryShield&) = delete;
    MemoryShield& operator=(const MemoryShield&) = delete;

    // One look at the running programs, when "optMemorySheildOn" is true
    // and nothing else runs.
    void tmrMemoryInspected_Timer();

    ui::FrmSpywareFoundAlert alert;

private:
    AlertAnswer Ask(const std::string& fileName, const std::string& companyName);
    // The programs the user chose to stop that still run.
    void TellNotStopped();

    MemoryShieldEnvironment env_;
    // The folders the definitions name, looked up once: they do not move
    // while the program runs.
    std::optional<PathTokens> tokens_;
};

}  // namespace bastion
