#include "ui/forms/FrmSignatureUpdated.h"

namespace bastion::ui {

FrmSignatureUpdated::FrmSignatureUpdated() : Form("frmSignatureUpdated") {
    cmdUpdateSuccesfullOK.SetCaption("OK");
    cmdUpdateSuccesfullOK.onClick = [this] { cmdUpdateSuccesfullOK_Click(); };
    tmrPopupSignatureUpdate.onTick = [this] { tmrPopupSignatureUpdate_Timer(); };
    tmrEnablePopDownTimer.onTick = [this] { tmrEnablePopDownTimer_Timer(); };
    tmrPopDown.onTick = [this] { tmrPopDown_Timer(); };
}

void FrmSignatureUpdated::MoveTo(Point place) {
    place_ = place;
    ++positionChanges_;
}

void FrmSignatureUpdated::Show(std::string text) {
    tmrEnablePopDownTimer.SetEnabled(false);
    tmrPopDown.SetEnabled(false);
    lblUpdateInfo.SetCaption(std::move(text));
    plan_ = planSlide ? planSlide() : SlidePlan{};
    step_ = 0;
    MoveTo(plan_.start);
    SetVisible(true);
    tmrPopupSignatureUpdate.SetEnabled(true);
}

void FrmSignatureUpdated::tmrPopupSignatureUpdate_Timer() {
    SetVisible(true);
    if (step_ < plan_.riseSteps) {
        MoveTo(RisePosition(plan_, ++step_));
        return;
    }
    tmrPopupSignatureUpdate.SetEnabled(false);
    step_ = 0;
    tmrEnablePopDownTimer.SetEnabled(true);
}

void FrmSignatureUpdated::tmrEnablePopDownTimer_Timer() {
    tmrEnablePopDownTimer.SetEnabled(false);
    tmrPopDown.SetEnabled(true);
}

void FrmSignatureUpdated::tmrPopDown_Timer() {
    SetVisible(true);
    MoveTo(SinkPosition(plan_, ++step_));
    if (step_ >= plan_.sinkSteps) cmdUpdateSuccesfullOK_Click();
}

void FrmSignatureUpdated::cmdUpdateSuccesfullOK_Click() {
    tmrPopupSignatureUpdate.SetEnabled(false);
    tmrEnablePopDownTimer.SetEnabled(false);
    tmrPopDown.SetEnabled(false);
    if (acknowledged) acknowledged();
    SetVisible(false);
}

}  // namespace bastion::ui
