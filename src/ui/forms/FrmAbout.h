// The about window: who made the program, its version and its website.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

namespace bastion::ui {

class FrmAbout : public Form {
public:
    FrmAbout();

    Label lblProductName{*this, "lblProductName"};
    Label lblCompanyName{*this, "lblCompanyName"};
    Label lblVersion{*this, "lblVersion"};
    // Opens the website when clicked.
    Label lblWebsite{*this, "lblWebsite"};
    // What the version and the website lines are.
    Label lblVersionCaption{*this, "lblVersionCaption"};
    Label lblWebsiteCaption{*this, "lblWebsiteCaption"};
    CommandButton cmdOk{*this, "cmdOk"};
};

}  // namespace bastion::ui
