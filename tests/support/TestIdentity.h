// An identity unlike the build's, so that a test sees which names a text or
// a settings path really came from.
#pragma once

#include "services/identity/Identity.h"

namespace bastion::testing {

// Product "Testwall", company "Testwall Labs", website "www.testwall.example",
// title "Testwall", version 4.2.
services::Identity TestIdentity();

}  // namespace bastion::testing
