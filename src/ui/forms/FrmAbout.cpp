#include "ui/forms/FrmAbout.h"

namespace bastion::ui {

FrmAbout::FrmAbout() : Form("frmAbout") {
    // The load fills in the product name.
    SetCaption("About [ProgramName]");
    lblVersionCaption.SetCaption("Version");
    lblWebsiteCaption.SetCaption("Website");
    for (Label* live : {&lblProductName, &lblCompanyName, &lblVersion, &lblWebsite}) live->SetShowsLiveState();
    cmdOk.SetCaption("OK");
    cmdOk.onClick = [this] { SetVisible(false); };
}

}  // namespace bastion::ui
