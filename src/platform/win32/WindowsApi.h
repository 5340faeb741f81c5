// <windows.h> for code that also sees the facility interfaces. The Unicode
// build maps CopyFile and DeleteFile to CopyFileW and DeleteFileW by macro,
// which would rename the FileSystem members of those names (and MessageBox
// the services::Dialogs member) in every file that includes both; the macros are
// removed here and the W functions are called by their full names.
#pragma once

#include <windows.h>

#undef CopyFile
#undef DeleteFile
#undef GetUserName
#undef GetComputerName
#undef MessageBox
