#include "ui/win32/IdentityFromVersionResource.h"

namespace bastion::win32 {

ui::Identity IdentityFromVersionStrings(const VersionStrings& strings) {
    ui::Identity identity = ui::BuildIdentity();
    identity.productName = strings.productName;
    identity.companyName = strings.companyName;
    identity.website = strings.comments;
    identity.versionMajor = strings.fileVersionMajor;
    identity.versionMinor = strings.fileVersionMinor;
    return identity;
}

ui::Identity ReadOwnIdentity() {
    if (auto strings = ReadOwnVersionStrings()) return IdentityFromVersionStrings(*strings);
    return ui::BuildIdentity();
}

}  // namespace bastion::win32
