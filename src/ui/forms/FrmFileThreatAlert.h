// The file shield's alert: a file that just arrived holds a known threat.
// "Quarantine" (cmdYes) puts it in the quarantine, "Allow" (cmdNO) puts it
// on the exclusion list; closing the alert does neither.
#pragma once

#include <string>

#include "ui/forms/AlertForm.h"

namespace bastion::ui {

class FrmFileThreatAlert : public AlertForm {
public:
    FrmFileThreatAlert();

    Label lblTitle{*this, "lblTitle"};
    Label lblDetected{*this, "lblDetected"};
    Label lblThreatCaption{*this, "lblThreatCaption"};
    Label lblAlertThreat{*this, "lblAlertThreat"};
    Label lblFileCaption{*this, "lblFileCaption"};
    Label lblAlertFile{*this, "lblAlertFile"};
    Label lblFolderCaption{*this, "lblFolderCaption"};
    Label lblAlertFolder{*this, "lblAlertFolder"};
    Label lblQuarantineHint{*this, "lblQuarantineHint"};
    Label lblAllowHint{*this, "lblAllowHint"};

    // The detection to show; the window opens when the wait starts.
    void Fill(const std::string& threat, const std::string& fileName, const std::string& folder);
};

}  // namespace bastion::ui
