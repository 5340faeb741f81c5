// <windows.h> for the user interface code that also sees ui::Dialogs: the
// Unicode build maps MessageBox to MessageBoxW by macro, which would rename
// the Dialogs member of that name in every file that includes both.
#pragma once

#include "platform/win32/WindowsApi.h"

#undef MessageBox
