// The single-instance test: whether another run of this very program is
// running. Its name can be taken by any program of the session first;
// only a holder that runs this program's own file counts, so that such a
// program cannot keep Bastion (and its guard) from starting.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "platform/InstanceLock.h"
#include "platform/Processes.h"
#include "platform/SystemInfo.h"

namespace bastion {

// True when the process holding the name runs the same program file as
// this run (compared by final path). Otherwise this run goes on as the only
// one and takes the name over.
struct InstanceCheck {
    platform::InstanceLock& instances;
    platform::Processes& processes;
    platform::FileSystem& files;
    platform::SystemInfo& system;
};
bool AnotherRunOfThisProgram(const InstanceCheck& check, const std::string& name);

}  // namespace bastion
