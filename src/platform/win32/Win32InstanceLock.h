// The single-instance test as a named mutex in the session's namespace: the
// first run creates it and holds it while it runs; a later run opens the
// existing one and learns so from the creation's result.
#pragma once

#include <map>
#include <string>

#include "platform/InstanceLock.h"
#include "platform/win32/Handles.h"

namespace bastion::win32 {

class Win32InstanceLock final : public platform::InstanceLock {
public:
    bool AnotherInstanceRunning(const std::string& name) override;

    // The mutex name for a program name: the session's namespace, and no
    // backslash inside the name itself.
    static std::wstring MutexName(const std::string& name);

private:
    struct Claim {
        UniqueHandle mutex;
        bool another = false;
    };
    std::map<std::string, Claim> claims_;
};

}  // namespace bastion::win32
