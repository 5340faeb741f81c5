// The message box style bits for the portable buttons and icons, and the
// portable answer for the button that was pressed.
#pragma once

#include "services/dialogs/Dialogs.h"

namespace bastion::win32 {

unsigned int MessageBoxFlags(services::MsgButtons buttons, services::MsgIcon icon);
// A box closed without a button (or failing to show) answers Cancel.
services::MsgResult MessageBoxAnswer(int pressed);

}  // namespace bastion::win32
