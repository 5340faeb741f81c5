// The deletions Windows makes when it next starts (MoveFileEx with no
// target and MOVEFILE_DELAY_UNTIL_REBOOT), as the session manager keeps
// them in "PendingFileRenameOperations": asked about, and taken back.
#pragma once

#include <string>

namespace bastion::win32 {

bool IsDeletionPendingAtRestart(const std::wstring& path);
// True when no deletion of the path is pending afterwards; taking one back
// needs the right to change the machine's settings.
bool CancelDeletionAtRestart(const std::wstring& path);

}  // namespace bastion::win32
