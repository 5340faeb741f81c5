// The shields' questions as the alert windows that ask them: the memory
// shield's frmSpywareFoundAlert, the home-page shield's
// frmHomePageChangedAlert and the file shield's frmFileThreatAlert, each
// waiting for its answer while the program runs on (AskAndWait); and the
// file shield's notice, the pop-up that rises above the notification area.
#pragma once

#include <string>

#include "services/Services.h"
#include "shields/ShieldAlerts.h"
#include "shields/file/FileShieldAlerts.h"
#include "ui/forms/FrmFileThreatAlert.h"
#include "ui/forms/FrmSignatureUpdated.h"
#include "ui/forms/FrmHomePageChangedAlert.h"
#include "ui/forms/FrmSpywareFoundAlert.h"

namespace bastion {

class AlertWindows final : public ShieldAlerts, public FileShieldAlerts {
public:
    explicit AlertWindows(const services::Services& services);
    AlertWindows(const AlertWindows&) = delete;
    AlertWindows& operator=(const AlertWindows&) = delete;

    AlertAnswer AskAboutProgram(const std::string& fileName, const std::string& companyName,
                                bool needsAdministrator) override;
    StartPageAnswer AskAboutStartPage(const std::string& remembered, const std::string& current) override;
    FileAnswer AskAboutFile(const Detection& detection, const std::string& fileName,
                            const std::string& folder) override;
    void TellQuarantined(const Detection& detection) override;
    void Dismiss() override;

    ui::FrmSpywareFoundAlert spywareFound;
    ui::FrmHomePageChangedAlert homePageChanged;
    ui::FrmFileThreatAlert fileThreat;
    // The same pop-up as the definition update's, with a text of its own.
    ui::FrmSignatureUpdated fileShieldNotice;

private:
    services::Services services_;
};

}  // namespace bastion
