#include "ui/forms/FrmAbout.h"

namespace bastion::ui {

FrmAbout::FrmAbout() : Form("frmAbout") {
    cmdOk.SetCaption("OK");
    cmdOk.onClick = [this] { SetVisible(false); };
}

}  // namespace bastion::ui
