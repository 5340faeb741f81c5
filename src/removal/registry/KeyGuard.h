// Registry keys no removal takes whole, whatever a definition says, because
// starting Windows, signing in or starting a program needs them: the first
// level of every hive, the software, policy and class roots (the 32-bit
// ones too), the Run and Winlogon keys, the profile list, the services,
// the control set and its session manager, the keys that start programs by
// file type (exefile, .exe, lnkfile, batfile, ...), in every place a
// user's or the machine's classes and software appear; and every key above
// one of them. A value inside them may still go, and so may a key below
// them (one service, one class): the services Windows needs are kept by
// IsServiceWindowsNeeds.
#pragma once

#include <string>

#include "platform/Registry.h"

namespace bastion {

// True for such a key, and for a path the registry would not read as one
// key (empty parts, a leading backslash).
bool IsGuardedRegistryKey(platform::Hive hive, const std::string& key);

}  // namespace bastion
