// The file shield's box on the Proactive Protection tab: on or off, whether
// it quarantines without asking, and the folders it watches, each with
// whether it is watched (a folder Windows cannot watch, or one that is not
// there, is listed with the reason). Every change is stored at once and the
// shield follows it.
#pragma once

#include "services/Services.h"
#include "shields/file/FileShield.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

struct FileShieldOptions {
    ui::FrmMain& form;
    const services::Services& services;
    FileShield& shield;
};

// The click handlers of the box's controls.
void BindFileShieldOptions(const FileShieldOptions& options);

// The box as stored, and the shield watching as it says: at the end of
// the start-up.
void RestoreFileShieldOptions(const FileShieldOptions& options);

// The folder list's rows: the stored folders in order, each with its state.
void ShowShieldFolders(const FileShieldOptions& options);

}  // namespace bastion
