#include "ui/forms/FrmFileThreatAlert.h"

namespace bastion::ui {

FrmFileThreatAlert::FrmFileThreatAlert() : AlertForm("frmFileThreatAlert") {
    lblTitle.SetCaption("Threat Found in a New File");
    lblDetected.SetCaption("A file that has just arrived holds a known threat.");
    lblThreatCaption.SetCaption("Threat:");
    lblFileCaption.SetCaption("File:");
    lblFolderCaption.SetCaption("Folder:");
    // The values are the file's, never translated.
    for (Label* value : {&lblAlertThreat, &lblAlertFile, &lblAlertFolder}) value->SetShowsLiveState();
    lblQuarantineHint.SetCaption("Click QUARANTINE to move it to the quarantine.");
    lblAllowHint.SetCaption("Click ALLOW to keep it and not be warned about it again.");
    cmdYes.SetCaption("QUARANTINE");
    cmdNO.SetCaption("ALLOW");
}

void FrmFileThreatAlert::Fill(const std::string& threat, const std::string& fileName, const std::string& folder) {
    lblAlertThreat.SetCaption(threat);
    lblAlertFile.SetCaption(fileName);
    lblAlertFolder.SetCaption(folder);
}

}  // namespace bastion::ui
