#include "ui/win32/SecondStart.h"

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32InstanceLock.h"

namespace bastion::win32 {

UINT ShowFirstRunMessage(const std::string& productName) {
    return ::RegisterWindowMessageW((Widen(productName) + L".ShowFirstRun").c_str());
}

void AskFirstRunToShowItself(const std::string& productName) {
    const UINT message = ShowFirstRunMessage(productName);
    if (message == 0) return;
    // The first run was not started by the user just now: without this the
    // system would only flash its taskbar button.
    ::AllowSetForegroundWindow(ASFW_ANY);
    // Every top-level window hears it, hidden ones too (the first run's
    // window may be in the notification area).
    ::PostMessageW(HWND_BROADCAST, message, 0, 0);
}

bool WaitForEarlierRunToEnd(const std::string& productName, unsigned milliseconds) {
    const std::wstring name = Win32InstanceLock::SectionName(productName);
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (;;) {
        // The earlier run's claim lasts as long as a handle to it is open.
        UniqueHandle claim(::OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
        if (!claim) return true;
        if (::GetTickCount64() >= deadline) return false;
        claim.Reset();
        ::Sleep(100);
    }
}

}  // namespace bastion::win32
