// The language window: the languages of the translation file to choose
// from, and the way to a newer file ("Check for language updates") and to
// the file itself ("Translate this program"). Opened from Languages >
// "Change Language", and modally at the very first start.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

namespace bastion::ui {

// What the list shows while nothing is chosen.
inline constexpr std::string_view kChooseLanguageHere = "Choose Language Here";

class FrmLanguage : public Form {
public:
    FrmLanguage();

    Label lblChoose{*this, "lblChoose"};
    ComboBox Combo1{*this, "Combo1"};
    CommandButton Command1{*this, "Command1"};  // "Check for language updates"
    CommandButton Command2{*this, "Command2"};  // "OK"
    CommandButton Command3{*this, "Command3"};  // "Translate this program"
};

}  // namespace bastion::ui
