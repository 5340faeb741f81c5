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
        motion_.BeginRise();
    } else {
        motion_.Begin(planSlide ? planSlide() : SlidePlan{});
    }
    StopTimers();
    SetVisible(true);
    tmrMenuPopup.SetEnabled(true);
}

void FrmMenuPopUp::tmrMenuPopup_Timer() {
    SetVisible(true);
    if (motion_.Rise()) return;
    tmrMenuPopup.SetEnabled(false);
    TmrEnablePopDown.SetEnabled(true);
}

void FrmMenuPopUp::TmrEnablePopDown_Timer() {
    ++lTimDown_;
    if (lTimDown_ <= kIdleSeconds) return;
    lTimDown_ = 0;
    TmrEnablePopDown.SetEnabled(false);
    motion_.BeginSink();
    tmrPopDown.SetEnabled(true);
}

void FrmMenuPopUp::tmrPopDown_Timer() {
    SetVisible(true);
    if (!motion_.Sink()) Form_Unload();
}

void FrmMenuPopUp::lblMenuClose_Click() {
    if (!Visible() || Sinking()) return;
    tmrMenuPopup.SetEnabled(false);
    TmrEnablePopDown.SetEnabled(false);
    motion_.BeginSink();
    tmrPopDown.SetEnabled(true);
}

void FrmMenuPopUp::Form_Unload() {
    StopTimers();
    lTimDown_ = 0;
    SetVisible(false);
}

}  // namespace bastion::ui
