// The English texts the catalogue starts with, before any translation.
#pragma once

#include "services/messages/MessageCatalogue.h"

namespace bastion::services {

// One setMessage per default message, in the catalogue's order.
void FillDefaultMessages(MessageCatalogue& catalogue);

}  // namespace bastion::services
