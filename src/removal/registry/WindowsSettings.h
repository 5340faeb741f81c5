// Registry entries Windows needs, whatever a definition says: the log-on
// values a removal sets back to their Windows defaults instead of deleting
// them (without them nobody can log on again), and the services Windows
// needs to start, whose keys no removal takes. Built-in lists, not
// definitions, so that no update can change them.
#pragma once

#include <optional>
#include <string>

#include "platform/Registry.h"

namespace bastion {

// The Windows default of a value of HKEY_LOCAL_MACHINE's
// "Software\Microsoft\Windows NT\CurrentVersion\Winlogon" (in either
// registry view): "Shell" is "explorer.exe", "Userinit" the system folder's
// "userinit.exe,". nullopt for any other value.
std::optional<platform::RegValue> WindowsDefaultValue(platform::Hive hive, const std::string& key,
                                                      const std::string& name, const std::string& systemFolder);

// True for the key of a service Windows needs to start, or a key below it
// (HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\<name>, or a
// numbered control set): a boot or system driver (its "Start" is 0 or 1),
// or one of the essential Windows services (remote procedure calls, the
// DCOM launcher, the event log, plug and play, power, networking, the
// firewall and the like).
bool IsServiceWindowsNeeds(platform::Registry& registry, platform::Hive hive, const std::string& key,
                           platform::RegView view);

}  // namespace bastion
