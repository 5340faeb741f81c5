// The website opener: a window without a face that hands the website to the
// browser and closes itself a second later. While it is open, closing the
// main window does not end the program (the browser start is not cut off).
#pragma once

#include <functional>

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

namespace bastion::ui {

class FrmWebsite : public Form {
public:
    FrmWebsite();

    // Closes the window one second after it opened.
    Timer Timer1{*this, "Timer1", 1000, false};
    // After the window closed itself: an exit may have waited for it.
    std::function<void()> onClosed;
};

}  // namespace bastion::ui
