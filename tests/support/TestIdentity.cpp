#include "support/TestIdentity.h"

namespace bastion::testing {

services::Identity TestIdentity() {
    services::Identity identity;
    identity.productName = "Testwall";
    identity.companyName = "Testwall Labs";
    identity.website = "www.testwall.example";
    identity.programTitle = "Testwall";
    identity.versionMajor = 4;
    identity.versionMinor = 2;
    return identity;
}

}  // namespace bastion::testing
