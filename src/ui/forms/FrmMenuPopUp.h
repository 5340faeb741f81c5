// The tray menu: a small window that slides out of the taskbar beside the
// notification area with "Show Program", "Exit Program" and "Close This
// Menu", rests while the mouse moves over it and slides back about six
// seconds after the last movement.
#pragma once

#include <functional>
#include <string>

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/layout/SlideMotion.h"

namespace bastion::ui {

class FrmMenuPopUp : public Form {
public:
    FrmMenuPopUp();

    SkinLabel lblName{*this, "lblName"};
    CommandButton mnuMaxmimaize{*this, "mnuMaxmimaize"};  // "Show Program"
    CommandButton mnuClose{*this, "mnuClose"};            // "Exit Program"
    Label lblMenuClose{*this, "lblMenuClose"};            // "Close This Menu"
    Timer tmrMenuPopup{*this, "tmrMenuPopup", 1, false};
    Timer TmrEnablePopDown{*this, "TmrEnablePopDown", 1000, false};
    Timer tmrPopDown{*this, "tmrPopDown", 10, false};

    // Where the menu slides, measured by the native window; without it the
    // plan is empty (tests).
    std::function<SlidePlan()> planSlide;
    // "Show Program" and "Exit Program": what the program does for them.
    Handler showProgram;
    Handler exitProgram;
    // Gives the keyboard to the menu's first enabled button (native).
    Handler takeFocus;

    // Opens the menu (sliding up); an open menu stays where it is and
    // counts its idle seconds again, one sliding down rises again.
    void Form_Load(const std::string& productName, bool mainWindowVisible);
    // Opened from the keyboard: its buttons are reachable by it.
    void TakeFocus() {
        if (Visible() && takeFocus) takeFocus();
    }
    // The mouse moved over the window or one of its controls.
    void Form_MouseMove() { lTimDown_ = 0; }
    void tmrMenuPopup_Timer();
    void TmrEnablePopDown_Timer();
    void tmrPopDown_Timer();
    // "Close This Menu": slides down and closes.
    void lblMenuClose_Click();
    // Gone at once (the program ends).
    void Form_Unload();

    int lTimDown() const { return lTimDown_; }
    bool Sinking() const { return tmrPopDown.Enabled(); }
    // Where the window is, for the native window to follow.
    const SlideMotion& Motion() const { return motion_; }

private:
    void StopTimers();

    SlideMotion motion_;
    int lTimDown_ = 0;
};

}  // namespace bastion::ui
