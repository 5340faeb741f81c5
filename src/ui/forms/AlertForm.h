// A window that asks the user one question with two buttons, cmdYes and
// cmdNO, while the work that raised it waits (the shields' alerts). Each
// opening has its own answer: none until a button is pressed, and none when
// the window is closed any other way (its close box, Alt+F4, the program
// ending).
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

namespace bastion::ui {

enum class AlertButton { None, Yes, No };

class AlertForm : public Form {
public:
    explicit AlertForm(std::string name);

    CommandButton cmdYes{*this, "cmdYes"};
    CommandButton cmdNO{*this, "cmdNO"};

    // Shows the window with no answer yet.
    void Open();
    // The close box and every other way out without a button.
    void Dismiss() { SetVisible(false); }
    // Open, and not answered or dismissed yet.
    bool Waiting() const { return Visible() && answer_ == AlertButton::None; }
    AlertButton Answer() const { return answer_; }

protected:
    // A button's answer: recorded, and the window closes.
    void Answered(AlertButton answer);

private:
    AlertButton answer_ = AlertButton::None;
};

}  // namespace bastion::ui
