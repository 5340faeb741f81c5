// Makes a control erase its background in one colour: a group box, which
// otherwise leaves whatever lay under it inside its frame, and the strip of
// a tab control beside its tabs.
#pragma once

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

void EraseWithColour(HWND control, COLORREF colour);

}  // namespace bastion::win32
