#include "ui/forms/FrmMenuPopUp.h"

namespace bastion::ui {

namespace {
// Whole idle seconds after which the menu starts sliding down.
constexpr int kIdleSeconds = 5;
}  // namespace

FrmMenuPopUp::FrmMenuPopUp() : Form("frmMenuPopUp") {
    mnuMaxmimaize.SetCaption("Show Program");
    mnuClose.SetCaption("Exit Program");
    lblMenuClose.SetCaption("Close This Menu");
    tmrMenuPopup.onTick = [this] { tmrMenuPopup_Timer(); };
    TmrEnablePopDown.onTick = [this] { TmrEnablePopDown_Timer(); };
    tmrPopDown.onTick = [this] { tmrPopDown_Timer(); };
    lblMenuClose.onClick = [this] { lblMenuClose_Click(); };
    mnuMaxmimaize.onClick = [this] {
        if (showProgram) showProgram();
        lblMenuClose_Click();
    };
    mnuClose.onClick = [this] {
        if (exitProgram) exitProgram();
        Form_Unload();
    };
}

void FrmMenuPopUp::MoveTo(Point place) {
    place_ = place;
    ++positionChanges_;
}

void FrmMenuPopUp::StopTimers() {
    tmrMenuPopup.SetEnabled(false);
    TmrEnablePopDown.SetEnabled(false);
    tmrPopDown.SetEnabled(false);
}

void FrmMenuPopUp::Form_Load(const std::string& productName, bool mainWindowVisible) {
    lblName.SetCaption(productName);
    SetCaption(productName);
    lTimDown_ = 0;
    mnuClose.SetEnabled(true);
    mnuMaxmimaize.SetEnabled(!mainWindowVisible);
    if (Visible() && !Sinking()) return;
    if (Visible()) {
        // Sliding down: it rises again from where it is.
        const int sunk = plan_.sinkSteps > 0 ? step_ * plan_.riseSteps / plan_.sinkSteps : 0;
        step_ = plan_.riseSteps - sunk;
    } else {
        plan_ = planSlide ? planSlide() : SlidePlan{};
        step_ = 0;
        MoveTo(plan_.start);
    }
    StopTimers();
    SetVisible(true);
    tmrMenuPopup.SetEnabled(true);
}

void FrmMenuPopUp::tmrMenuPopup_Timer() {
    SetVisible(true);
    if (step_ < plan_.riseSteps) {
        MoveTo(RisePosition(plan_, ++step_));
        return;
    }
    tmrMenuPopup.SetEnabled(false);
    TmrEnablePopDown.SetEnabled(true);
}

void FrmMenuPopUp::TmrEnablePopDown_Timer() {
    ++lTimDown_;
    if (lTimDown_ <= kIdleSeconds) return;
    lTimDown_ = 0;
    TmrEnablePopDown.SetEnabled(false);
    step_ = 0;
    tmrPopDown.SetEnabled(true);
}

void FrmMenuPopUp::tmrPopDown_Timer() {
    SetVisible(true);
    MoveTo(SinkPosition(plan_, ++step_));
    if (step_ >= plan_.sinkSteps) Form_Unload();
}

void FrmMenuPopUp::lblMenuClose_Click() {
    if (!Visible() || Sinking()) return;
    // From wherever the rise got to.
    const int risen = plan_.riseSteps > 0 ? step_ * plan_.sinkSteps / plan_.riseSteps : 0;
    step_ = tmrMenuPopup.Enabled() ? plan_.sinkSteps - risen : 0;
    tmrMenuPopup.SetEnabled(false);
    TmrEnablePopDown.SetEnabled(false);
    tmrPopDown.SetEnabled(true);
}

void FrmMenuPopUp::Form_Unload() {
    StopTimers();
    lTimDown_ = 0;
    SetVisible(false);
}

}  // namespace bastion::ui
