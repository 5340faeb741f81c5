#include "ui/forms/FrmReport.h"

namespace bastion::ui {

FrmReport::FrmReport() : Form("frmReport") {
    txtReport.multiLine = true;
    txtReport.readOnly = true;
    cmdOk.SetCaption("OK");
    cmdOk.onClick = [this] { SetVisible(false); };
}

}  // namespace bastion::ui
