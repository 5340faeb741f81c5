#include "platform/win32/Win32InstanceLock.h"

#include "platform/win32/WideText.h"

namespace bastion::win32 {

std::wstring Win32InstanceLock::MutexName(const std::string& name) {
    std::wstring wide = Widen(name);
    for (wchar_t& c : wide) {
        if (c == L'\\') c = L'_';
    }
    return L"Local\\" + wide + L".Instance";
}

bool Win32InstanceLock::AnotherInstanceRunning(const std::string& name) {
    auto found = claims_.find(name);
    if (found != claims_.end()) return found->second.another;
    Claim claim;
    claim.mutex.Reset(::CreateMutexW(nullptr, FALSE, MutexName(name).c_str()));
    const DWORD error = ::GetLastError();
    // Without a mutex (no rights to the name, say) the run goes on as the
    // only one: refusing to start would be worse than a second window.
    claim.another = claim.mutex && error == ERROR_ALREADY_EXISTS;
    const bool another = claim.another;
    claims_.emplace(name, std::move(claim));
    return another;
}

}  // namespace bastion::win32
