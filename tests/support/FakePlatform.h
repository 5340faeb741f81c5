// One fake of every facility, for tests that drive a whole component. Tests
// arrange the members directly and hand Bundle() (or single members) to the
// code under test.
#pragma once

#include "platform/Platform.h"
#include "support/FakeClock.h"
#include "support/FakeCrypto.h"
#include "support/FakeFileSystem.h"
#include "support/FakeFolderWatcher.h"
#include "support/FakeInstanceLock.h"
#include "support/FakeInternet.h"
#include "support/FakeProcesses.h"
#include "support/FakeRegistry.h"
#include "support/FakeShell.h"
#include "support/FakeSystemInfo.h"
#include "support/FakeSystemRestore.h"

namespace bastion::testing {

class FakePlatform {
public:
    FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    platform::Platform& Bundle() { return bundle_; }

    // Creates on the fake disk every folder the shell names, and the system
    // folder, as a freshly installed machine has them.
    void CreateSpecialFolders();

    FakeRegistry registry;
    FakeFileSystem files;
    FakeShell shell;
    FakeProcesses processes;
    FakeSystemInfo system;
    FakeInternet internet;
    FakeSystemRestore restore;
    FakeClock clock;
    FakeInstanceLock instances;
    FakeCrypto crypto;
    FakeFolderWatcher watcher;

private:
    platform::Platform bundle_;
};

}  // namespace bastion::testing
