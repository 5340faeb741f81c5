// The splash window: the product, its maker and its version, shown while a
// short count runs; at the end of the count it hands over to the main
// window and hides itself.
#pragma once

#include <cstdint>

#include "services/identity/Identity.h"
#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

namespace bastion::ui {

class FrmSplash : public Form {
public:
    FrmSplash();

    Label lblProductName{*this, "lblProductName"};
    Label lblCompanyName{*this, "lblCompanyName"};
    Label lblVersion{*this, "lblVersion"};
    // The word before the version number, and what the splash says it does.
    Label lblVersionCaption{*this, "lblVersionCaption"};
    Label lblStarting{*this, "lblStarting"};
    Timer Timer2{*this, "Timer2", 2, false};

    // Loads and shows the main window (not modal); run once, at the end of
    // the count.
    Handler showMainWindow;

    // Shows the identity of the program and starts the count.
    void Form_Load(const services::Identity& identity);
    // Adds 2 to the count; the tick that finds it at 148 (the 75th) ends
    // the splash.
    void Timer2_Timer();

    std::int16_t Counter() const { return counter_; }

private:
    std::int16_t counter_ = 0;
};

}  // namespace bastion::ui
