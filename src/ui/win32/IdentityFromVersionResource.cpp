#include "ui/win32/IdentityFromVersionResource.h"

namespace bastion::win32 {

services::Identity IdentityFromVersionStrings(const VersionStrings& strings) {
    services::Identity identity = services::BuildIdentity();
    identity.productName = strings.productName;
    identity.companyName = strings.companyName;
    identity.website = strings.comments;
    identity.versionMajor = strings.fileVersionMajor;
    identity.versionMinor = strings.fileVersionMinor;
    return identity;
}

services::Identity ReadOwnIdentity() {
    if (auto strings = ReadOwnVersionStrings()) return IdentityFromVersionStrings(*strings);
    return services::BuildIdentity();
}

}  // namespace bastion::win32
