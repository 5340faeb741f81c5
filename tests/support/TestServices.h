// The program's services on fakes, for a test of one part: a fake machine,
// scripted dialogs and event pump, the test identity with the default and
// guard messages, settings in the fake registry, an existing data folder,
// and background work that counts its holders. Bundle() hands them on.
#pragma once

#include <string>

#include "services/Services.h"
#include "support/FakeBackgroundWork.h"
#include "support/FakePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"

namespace bastion::testing {

class TestServices {
public:
    TestServices();
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;

    const services::Services& Bundle() const { return bundle_; }

    FakePlatform machine;
    ScriptedDialogs dialogs;
    ScriptedEventPump pump;
    services::OperationGate operations;
    services::Identity identity;
    services::MessageCatalogue messages;
    services::SettingsStore settings;
    std::string dataFolder = "C:\\Data";
    FakeBackgroundWork background;

private:
    services::Services bundle_;
};

}  // namespace bastion::testing
