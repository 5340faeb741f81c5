// Every real facility of the machine, owned in one place and handed out as
// the bundle that the composition roots pass down.
#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Crypto.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FolderWatcher.h"
#include "platform/win32/Win32InstanceLock.h"
#include "platform/win32/Win32Internet.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32SystemRestore.h"

namespace bastion::win32 {

class Win32Platform {
public:
    Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    platform::Platform& Get() { return bundle_; }

private:
    Win32Registry registry_;
    Win32FileSystem files_;
    Win32Shell shell_;
    Win32Processes processes_;
    Win32SystemInfo system_;
    Win32Internet internet_;
    Win32SystemRestore restore_;
    Win32Clock clock_;
    Win32CodePage codePage_;
    Win32InstanceLock instances_;
    Win32Crypto crypto_;
    Win32FolderWatcher watcher_;
    // Declared last: it refers to the members above.
    platform::Platform bundle_;
};

}  // namespace bastion::win32
