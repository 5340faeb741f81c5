// The restore window's load and its "Restore" command: the quarantine's
// items listed, the ticked ones put back (a restore is an operation, with
// the background timers off), an existing file replaced, and an item that
// affects every user put back, only when the user says so, and the outcome
// said in one box, with the reason for each item that was not put back.
#pragma once

#include <functional>
#include <string>

#include "platform/Registry.h"
#include "platform/Shell.h"
#include "removal/quarantine/Quarantine.h"
#include "ui/Dialogs.h"
#include "ui/MessageCatalogue.h"
#include "ui/OperationGate.h"
#include "ui/forms/FrmRestore.h"

namespace bastion {

struct RestoreWindowEnvironment {
    Quarantine& quarantine;
    platform::Registry& registry;
    platform::Shell& shell;
    ui::Dialogs& dialogs;
    const ui::MessageCatalogue& messages;
    const std::string& productName;
    ui::OperationGate& operations;
    std::function<void(bool enable)> enableShieldTimers;
};

// One row per stored item, oldest first: date, kind, original location;
// the tag holds the id.
void frmRestore_Load(ui::FrmRestore& window, Quarantine& quarantine);

void cmdRestore_Click(ui::FrmRestore& window, const RestoreWindowEnvironment& environment);

}  // namespace bastion
