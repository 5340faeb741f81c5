// The English texts the catalogue starts with, before any translation.
#pragma once

#include "ui/MessageCatalogue.h"

namespace bastion::ui {

// One setMessage per default message, in the catalogue's order.
void FillDefaultMessages(MessageCatalogue& catalogue);

}  // namespace bastion::ui
