// The shields' questions as the alert windows that ask them: the memory
// shield's frmSpywareFoundAlert and the home-page shield's
// frmHomePageChangedAlert, each waiting for its answer while the program
// runs on (AskAndWait).
#pragma once

#include <string>

#include "services/Services.h"
#include "shields/ShieldAlerts.h"
#include "ui/forms/FrmHomePageChangedAlert.h"
#include "ui/forms/FrmSpywareFoundAlert.h"

namespace bastion {

class AlertWindows final : public ShieldAlerts {
public:
    explicit AlertWindows(const services::Services& services);
    AlertWindows(const AlertWindows&) = delete;
    AlertWindows& operator=(const AlertWindows&) = delete;

    AlertAnswer AskAboutProgram(const std::string& fileName, const std::string& companyName,
                                bool needsAdministrator) override;
    StartPageAnswer AskAboutStartPage(const std::string& remembered, const std::string& current) override;
    void Dismiss() override;

    ui::FrmSpywareFoundAlert spywareFound;
    ui::FrmHomePageChangedAlert homePageChanged;

private:
    services::Services services_;
};

}  // namespace bastion
