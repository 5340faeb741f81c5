// One model of every window the program shows, as it is before any load:
// what the translation template lists. A new window joins here.
#pragma once

#include <vector>

#include "ui/forms/FrmAbout.h"
#include "ui/forms/FrmDelete.h"
#include "ui/forms/FrmDownload.h"
#include "ui/forms/FrmFileThreatAlert.h"
#include "ui/forms/FrmHomePageChangedAlert.h"
#include "ui/forms/FrmLanguage.h"
#include "ui/forms/FrmMain.h"
#include "ui/forms/FrmMenuPopUp.h"
#include "ui/forms/FrmReport.h"
#include "ui/forms/FrmRestore.h"
#include "ui/forms/FrmSignatureUpdated.h"
#include "ui/forms/FrmSplash.h"
#include "ui/forms/FrmSpywareFoundAlert.h"

namespace bastion {

struct ProgramWindows {
    ui::FrmMain main;
    ui::FrmSplash splash;
    ui::FrmLanguage language;
    ui::FrmAbout about;
    ui::FrmReport report;
    ui::FrmRestore restore;
    ui::FrmDelete deleteFailed;
    ui::FrmDownload download;
    ui::FrmSignatureUpdated popup;
    ui::FrmSpywareFoundAlert spywareAlert;
    ui::FrmHomePageChangedAlert homePageAlert;
    ui::FrmFileThreatAlert fileThreatAlert;
    ui::FrmMenuPopUp trayMenu;

    std::vector<ui::Form*> All() {
        return {&main, &splash, &language, &about, &report, &restore, &deleteFailed, &download, &popup,
                &spywareAlert, &homePageAlert, &fileThreatAlert, &trayMenu};
    }
};

}  // namespace bastion
