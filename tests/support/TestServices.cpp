#include "support/TestServices.h"

#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "support/TestIdentity.h"

namespace bastion::testing {

TestServices::TestServices()
    : identity(TestIdentity()),
      messages(identity),
      settings(machine.registry, identity.productName),
      bundle_{machine.Bundle(), dialogs, pump, operations, messages, identity, settings, dataFolder, background} {
    services::FillDefaultMessages(messages);
    services::FillGuardMessages(messages);
    machine.files.AddFolder(dataFolder);
}

}  // namespace bastion::testing
