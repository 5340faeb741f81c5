#include "ui/forms/AlertForm.h"

namespace bastion::ui {

AlertForm::AlertForm(std::string name) : Form(std::move(name)) {
    cmdYes.onClick = [this] { Answered(AlertButton::Yes); };
    cmdNO.onClick = [this] { Answered(AlertButton::No); };
}

void AlertForm::Open() {
    answer_ = AlertButton::None;
    cmdYes.SetEnabled(true);
    cmdNO.SetEnabled(true);
    SetVisible(true);
}

void AlertForm::Answered(AlertButton answer) {
    // A second press before the window has gone changes nothing.
    if (!Waiting()) return;
    answer_ = answer;
    cmdYes.SetEnabled(false);
    cmdNO.SetEnabled(false);
    SetVisible(false);
}

}  // namespace bastion::ui
