#include "ui/forms/AlertForm.h"

namespace bastion::ui {

AlertForm::AlertForm(std::string name) : Form(std::move(name)) {
    cmdYes.onClick = [this] { Answered(AlertButton::Yes); };
    cmdNO.onClick = [this] { Answered(AlertButton::No); };
    tmrArm.onTick = [this] { Arm(); };
}

void AlertForm::Open() {
    answer_ = AlertButton::None;
    armed_ = false;
    cmdYes.SetEnabled(false);
    cmdNO.SetEnabled(false);
    // Off and on: the half second counts from this opening.
    tmrArm.SetEnabled(false);
    tmrArm.SetEnabled(true);
    SetVisible(true);
}

void AlertForm::Arm() {
    tmrArm.SetEnabled(false);
    if (!Waiting()) return;
    armed_ = true;
    cmdYes.SetEnabled(true);
    cmdNO.SetEnabled(true);
}

void AlertForm::Answered(AlertButton answer) {
    // Too early to be meant for this alert, or a second press before the
    // window has gone: nothing changes.
    if (!Waiting() || !armed_) return;
    answer_ = answer;
    armed_ = false;
    cmdYes.SetEnabled(false);
    cmdNO.SetEnabled(false);
    SetVisible(false);
}

}  // namespace bastion::ui
