// The single-instance test as a small named section in the session's
// namespace holding the id of the run that claimed it: the first run
// creates it, writes its id and holds it while it runs; a later run opens
// the existing one and reads who holds it. The section is made so that
// only this user (and the system) may open it, elevated or not, so that a
// normal run sees an elevated one.
#pragma once

#include <map>
#include <string>

#include "platform/InstanceLock.h"
#include "platform/win32/Handles.h"

namespace bastion::win32 {

class Win32InstanceLock final : public platform::InstanceLock {
public:
    platform::InstanceClaim Claim(const std::string& name) override;
    void TakeOver(const std::string& name) override;

    // The section's name for a program name: the session's namespace, and
    // no backslash inside the name itself.
    static std::wstring SectionName(const std::string& name);

private:
    struct Held {
        UniqueHandle section;
        platform::InstanceClaim claim;
    };
    std::map<std::string, Held> held_;
};

}  // namespace bastion::win32
