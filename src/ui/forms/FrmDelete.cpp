#include "ui/forms/FrmDelete.h"

namespace bastion::ui {

FrmDelete::FrmDelete() : Form("frmDelete") {
    SetCaption("Delete Failed");
    Label1.SetCaption(
        "The following files could not be deleted.  You should save your work, close all running programs "
        "(especially browsers) and try to delete them again.");
    lstProblem.AddColumn("Location", 7000);
    Label2.SetCaption(
        "If you still cannot delete them, you should start your computer in Safe Mode and either scan again or "
        "delete them manually.");
    Command2.SetCaption("Copy List");
    cmdDeleteAtRestart.SetCaption("Delete at next restart");
    Command1.SetCaption("Ok");
    Command1.onClick = [this] { SetVisible(false); };
}

}  // namespace bastion::ui
