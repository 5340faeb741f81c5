// The restore window's load and its "Restore" command: the quarantine's
// items listed, the ticked ones put back (a restore is an operation, with
// the background timers off), an existing file replaced, and an item that
// affects every user put back, only when the user says so, and the outcome
// said in one box, with the reason for each item that was not put back.
#pragma once

#include <string>
#include <vector>

#include "removal/quarantine/Quarantine.h"
#include "services/Services.h"
#include "ui/forms/FrmRestore.h"

namespace bastion {

struct RestoreWindowEnvironment : services::Services {
    Quarantine& quarantine;
};

// One row per stored item, oldest first: date, kind, original location.
// Returns the records listed, in the order of the rows as they were added;
// each row's tag holds its record's place in them.
std::vector<QuarantineItem> frmRestore_Load(ui::FrmRestore& window, Quarantine& quarantine);

// Puts back exactly the ticked records of those listed, id and record
// together: one that has left the index since (put back or taken back by
// another run) is passed over, and a record added to the index after the
// list was shown, even under a listed id, is never put back. Lists the
// quarantine again afterwards.
void cmdRestore_Click(ui::FrmRestore& window, std::vector<QuarantineItem>& listed,
                      const RestoreWindowEnvironment& environment);

}  // namespace bastion
