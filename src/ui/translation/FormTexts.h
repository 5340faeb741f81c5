// The texts of a window that a translation replaces, each under the key a
// translation file names it by: window name + "_" + control name for the
// captions of labels, buttons, frames and check boxes; + "_TABS" + i and
// + "_COL" + i for the tabs of a tab strip and the columns of a list view,
// + "_ITEM" + i for the items of a drop-down list (from 1); + index for
// option buttons and menu items (0 outside an array);
// window name + "_CAPTION" for the window's own caption.
//
// Controls that show live state are not among them, and neither are menu
// separators and empty texts: there is nothing to translate in them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/forms/Form.h"

namespace bastion::ui {

struct FormText {
    std::string key;
    std::string text;
    // Puts a translated text in place.
    std::function<void(std::string)> set;
};

// In the order of the form's controls, the window caption last.
std::vector<FormText> TranslatableTexts(Form& form);

}  // namespace bastion::ui
