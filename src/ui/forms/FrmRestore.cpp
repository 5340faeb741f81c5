#include "ui/forms/FrmRestore.h"

namespace bastion::ui {

FrmRestore::FrmRestore() : Form("frmRestore") {
    SetCaption("Restore from Quarantine");
    lblInfo.SetCaption("Tick the items to put back where they were removed from, then press Restore.");
    lvwQuarantine.checkBoxes = true;
    lvwQuarantine.AddColumn("Date", 3200);
    lvwQuarantine.AddColumn("Kind", 1700);
    lvwQuarantine.AddColumn("Original Location", 6500);
    cmdRestore.SetCaption("Restore");
    cmdClose.SetCaption("Close");
    cmdClose.onClick = [this] { SetVisible(false); };
}

}  // namespace bastion::ui
