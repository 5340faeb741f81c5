// The pop-up that announces the result of a definition update: it rises out
// of the bottom of the screen in the corner above the notification area,
// rests seven seconds and sinks out of view, or goes at once on "OK".
#pragma once

#include <functional>
#include <string>

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/layout/SlideMotion.h"

namespace bastion::ui {

class FrmSignatureUpdated : public Form {
public:
    FrmSignatureUpdated();

    Label lblUpdateInfo{*this, "lblUpdateInfo"};
    CommandButton cmdUpdateSuccesfullOK{*this, "cmdUpdateSuccesfullOK"};
    Timer tmrPopupSignatureUpdate{*this, "tmrPopupSignatureUpdate", 10, false};
    Timer tmrEnablePopDownTimer{*this, "tmrEnablePopDownTimer", 7000, false};
    Timer tmrPopDown{*this, "tmrPopDown", 10, false};

    // Where the window slides, measured by the native window on the monitor
    // of the main window; without it the plan is empty (tests, console).
    std::function<SlidePlan()> planSlide;
    // "OK", or the end of the sink: the user has seen the result.
    Handler acknowledged;

    // Places the window at the start of its rise with this text and starts
    // rising.
    void Show(std::string text);
    void tmrPopupSignatureUpdate_Timer();
    void tmrEnablePopDownTimer_Timer();
    void tmrPopDown_Timer();
    void cmdUpdateSuccesfullOK_Click();

    // Where the window is, for the native window to follow.
    const SlideMotion& Motion() const { return motion_; }

private:
    SlideMotion motion_;
};

}  // namespace bastion::ui
