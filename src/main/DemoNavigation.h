// Page navigation of the main window, and nothing else, until the start-up
// sequence wires the real handlers: the navigation buttons show their page,
// the tabs their frame, the Settings menu its tab, and Exit closes.
#pragma once

#include <functional>

#include "ui/forms/FrmMain.h"

namespace bastion {

void WireDemoNavigation(ui::FrmMain& form, std::function<void()> closeWindow);

}  // namespace bastion
