// Unregistering a COM server that is being removed, without ever loading
// it: loading a DLL or OCX to call its unregistration entry point would run
// the threat's own code inside the scanner. Instead the class registrations
// that name the file are deleted (each backed up as any registry deletion).
#pragma once

#include <string>
#include <vector>

#include "platform/SystemInfo.h"
#include "removal/registry/ModRegistryRelated.h"
#include "services/waits/EventPump.h"

namespace bastion {

// True when a server value (InprocServer32 or LocalServer32) names the
// file: environment strings expanded, a quoted path taken from its quotes,
// arguments after the path ignored; compared ignoring case.
bool ServerValueNamesFile(platform::SystemInfo& system, const std::string& serverValue, const std::string& path);

struct ComRegistrationsResult {
    int removed = 0;
    // Locations of the registrations that could not be removed.
    std::vector<std::string> failed;
};

// Deletes every class (HKEY_CURRENT_USER\Software\Classes\CLSID\{...} and
// HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{...}, in both registry views)
// whose InprocServer32 or LocalServer32 default value names the file.
ComRegistrationsResult UnregisterComServer(const RegistryRemoval& removal, platform::SystemInfo& system,
                                           services::EventPump& pump, const std::string& path);

}  // namespace bastion
