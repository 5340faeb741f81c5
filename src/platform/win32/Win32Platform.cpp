#include "platform/win32/Win32Platform.h"

namespace bastion::win32 {

Win32Platform::Win32Platform()
    : bundle_{registry_, files_,   shell_,    processes_, system_, internet_,
              restore_,  clock_,   codePage_, instances_, crypto_, watcher_} {}

}  // namespace bastion::win32
