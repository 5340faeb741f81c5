// The texts of the main window that the program composes from the message
// catalogue as it runs (the window caption, the welcome line, the home
// page's values and the options' status lines): put together again in the
// current language, as after a language switch.
#pragma once

#include "app/App.h"

namespace bastion {

void ShowComposedTexts(App& app);

}  // namespace bastion
