#include "platform/win32/Win32Clock.h"

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

DateTime Win32Clock::Now() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return DateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace bastion::win32
