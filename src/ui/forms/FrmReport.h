// The viewer of the scan report: one read-only text box and an OK button
// that closes it. Shown modally from the main window.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

namespace bastion::ui {

class FrmReport : public Form {
public:
    FrmReport();

    TextBox txtReport{*this, "txtReport"};
    CommandButton cmdOk{*this, "cmdOk"};
};

}  // namespace bastion::ui
