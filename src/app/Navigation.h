// Which page of the main window shows, and which frame of the options page:
// the pages lie on top of one another, so showing one hides the others.
#pragma once

#include "ui/forms/FrmMain.h"

namespace bastion {

// The removal progress (bar and its two labels) belongs to one removal and
// goes with any page switch.
void HideRemovalProgress(ui::FrmMain& form);

// Hides the four pages and the removal progress, then shows page.
void ShowPage(ui::FrmMain& form, ui::Frame& page);

// The tab strip's click: the frame of the selected tab shows, the other
// three do not.
void ShowSelectedTab(ui::FrmMain& form);

// The Settings menu: the options page with that tab (from 0) selected.
void ShowOptionsTab(ui::FrmMain& form, int tab);

// The skin's "Options" and "Result" labels: each disables itself and
// enables the other, "Start" ("Sweep Now"), "Remove" and "Exit"; "Result"
// also takes the removal progress away.
void lblOptions_Click(ui::FrmMain& form);
void lblResult_Click(ui::FrmMain& form);

}  // namespace bastion
