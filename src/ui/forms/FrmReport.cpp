#include "ui/forms/FrmReport.h"

namespace bastion::ui {

FrmReport::FrmReport() : Form("frmReport") {
    // The load fills in the product name.
    SetCaption("[ProgramName] Log");
    txtReport.multiLine = true;
    txtReport.readOnly = true;
    cmdOk.SetCaption("OK");
    cmdOk.onClick = [this] { SetVisible(false); };
}

}  // namespace bastion::ui
