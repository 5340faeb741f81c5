#include "ui/forms/FrmSpywareFoundAlert.h"

namespace bastion::ui {

FrmSpywareFoundAlert::FrmSpywareFoundAlert() : AlertForm("frmSpywareFoundAlert") {
    lblTitle.SetCaption("Malicious Program Found");
    lblDetected.SetCaption("Spyware/Adware has been detected.");
    lblFileNameCaption.SetCaption("File Name:");
    lblAlertFileName.SetCaption("Unknown Executable");
    lblCompanyNameCaption.SetCaption("Company Name:");
    lblAlertCompanyName.SetCaption("Unknown Company");
    lblNeedsAdministrator.SetShowsLiveState();
    lblNeedsAdministrator.SetVisible(false);
    lblStopHint.SetCaption("Click STOP to stop it from running.");
    lblAllowHint.SetCaption("Click ALLOW to allow the program to run.");
    cmdYes.SetCaption("STOP");
    cmdNO.SetCaption("ALLOW");
}

void FrmSpywareFoundAlert::Fill(const std::string& fileName, const std::string& companyName,
                                const std::string& administratorNote) {
    lblAlertFileName.SetCaption(fileName);
    lblAlertCompanyName.SetCaption(companyName);
    lblNeedsAdministrator.SetCaption(administratorNote);
    lblNeedsAdministrator.SetVisible(!administratorNote.empty());
}

}  // namespace bastion::ui
