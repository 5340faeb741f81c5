// "Delete Failed": what survived both removal passes, with the advice what
// to do about it, "Copy List" (the list on the clipboard), "Delete at next
// restart" (for the files among them) and "Ok".
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/forms/ListView.h"

namespace bastion::ui {

class FrmDelete : public Form {
public:
    FrmDelete();

    Label Label1{*this, "Label1"};
    // One column, "Location": one row per item that could not be removed.
    ListView lstProblem{*this, "lstProblem"};
    Label Label2{*this, "Label2"};
    CommandButton Command2{*this, "Command2"};  // "Copy List"
    CommandButton cmdDeleteAtRestart{*this, "cmdDeleteAtRestart"};
    CommandButton Command1{*this, "Command1"};  // "Ok"
};

}  // namespace bastion::ui
