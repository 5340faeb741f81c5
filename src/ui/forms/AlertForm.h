// A window that asks the user one question with two buttons, cmdYes and
// cmdNO, while the work that raised it waits (the shields' alerts). Each
// opening has its own answer: none until a button is pressed, and none when
// the window is closed any other way (its close box, Alt+F4, the program
// ending, nobody answering for too long).
//
// An alert opens where the last one was, within moments of it: its buttons
// take input only once it has been shown for about half a second
// (tmrArm), so that the second click of a double click on one alert never
// answers the next one unseen.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

namespace bastion::ui {

enum class AlertButton { None, Yes, No };

class AlertForm : public Form {
public:
    static constexpr unsigned kArmMilliseconds = 500;

    explicit AlertForm(std::string name);

    CommandButton cmdYes{*this, "cmdYes"};
    CommandButton cmdNO{*this, "cmdNO"};
    // Enables the buttons once, kArmMilliseconds after the window opened.
    Timer tmrArm{*this, "tmrArm", kArmMilliseconds, false};

    // Shows the window with no answer yet and its buttons not yet taking
    // input.
    void Open();
    // The close box and every other way out without a button.
    void Dismiss() { SetVisible(false); }
    // Open, and not answered or dismissed yet.
    bool Waiting() const { return Visible() && answer_ == AlertButton::None; }
    // The buttons take input.
    bool Armed() const { return armed_; }
    AlertButton Answer() const { return answer_; }

protected:
    // A button's answer: recorded, and the window closes.
    void Answered(AlertButton answer);

private:
    void Arm();

    AlertButton answer_ = AlertButton::None;
    bool armed_ = false;
};

}  // namespace bastion::ui
