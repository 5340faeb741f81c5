// The memory shield's alert: a running program matched the executable
// definitions while no scan runs. "STOP" (cmdYes) stops it, "ALLOW" (cmdNO)
// puts it on the exclusion list; closing the alert does neither. A program
// that runs with administrator rights is named as such.
#pragma once

#include <string>

#include "ui/forms/AlertForm.h"

namespace bastion::ui {

class FrmSpywareFoundAlert : public AlertForm {
public:
    FrmSpywareFoundAlert();

    Label lblTitle{*this, "lblTitle"};
    Label lblDetected{*this, "lblDetected"};
    Label lblFileNameCaption{*this, "lblFileNameCaption"};
    Label lblAlertFileName{*this, "lblAlertFileName"};
    Label lblCompanyNameCaption{*this, "lblCompanyNameCaption"};
    Label lblAlertCompanyName{*this, "lblAlertCompanyName"};
    // Shown for a program only an administrator may stop.
    Label lblNeedsAdministrator{*this, "lblNeedsAdministrator"};
    Label lblStopHint{*this, "lblStopHint"};
    Label lblAllowHint{*this, "lblAllowHint"};
    // Blinks nothing; kept off so that it never wakes a waiting alert.
    Timer tmrBlink{*this, "tmrBlink", 800, false};

    // The detection to show, and the note that stopping it needs
    // administrator rights (empty: none); the window opens when the wait
    // starts.
    void Fill(const std::string& fileName, const std::string& companyName, const std::string& administratorNote = {});
};

}  // namespace bastion::ui
