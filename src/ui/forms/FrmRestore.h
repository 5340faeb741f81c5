// The restore window (Quarantine > "Restore..."): what the quarantine holds,
// one row per stored item with its date, kind and original location, ticked
// rows put back by "Restore".
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/forms/ListView.h"

namespace bastion::ui {

class FrmRestore : public Form {
public:
    FrmRestore();

    Label lblInfo{*this, "lblInfo"};
    // "Date", "Kind", "Original Location"; check boxes; the tag holds the
    // item's id.
    ListView lvwQuarantine{*this, "lvwQuarantine"};
    CommandButton cmdRestore{*this, "cmdRestore"};
    CommandButton cmdClose{*this, "cmdClose"};
};

}  // namespace bastion::ui
