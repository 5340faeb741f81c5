#include "ui/forms/FrmWebsite.h"

namespace bastion::ui {

FrmWebsite::FrmWebsite() : Form("frmWebsite") {
    Timer1.onTick = [this] {
        Timer1.SetEnabled(false);
        SetVisible(false);
        if (onClosed) onClosed();
    };
}

}  // namespace bastion::ui
