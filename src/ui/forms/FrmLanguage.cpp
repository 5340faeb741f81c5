#include "ui/forms/FrmLanguage.h"

namespace bastion::ui {

FrmLanguage::FrmLanguage() : Form("frmLanguage") {
    lblChoose.SetCaption("Choose your language:");
    Combo1.SetText(std::string(kChooseLanguageHere));
    // The languages' own names.
    Combo1.SetShowsLiveState();
    Command1.SetCaption("Check for language updates");
    Command2.SetCaption("OK");
    Command3.SetCaption("Translate this program");
    Command2.onClick = [this] { SetVisible(false); };
}

}  // namespace bastion::ui
