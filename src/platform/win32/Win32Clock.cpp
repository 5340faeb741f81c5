#include "platform/win32/Win32Clock.h"

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

namespace {

DateTime FromSystemTime(const SYSTEMTIME& time) {
    return DateTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

}  // namespace

DateTime Win32Clock::Now() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return FromSystemTime(now);
}

DateTime Win32Clock::UniversalNow() {
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    return FromSystemTime(now);
}

std::uint64_t Win32Clock::Milliseconds() { return ::GetTickCount64(); }

}  // namespace bastion::win32
