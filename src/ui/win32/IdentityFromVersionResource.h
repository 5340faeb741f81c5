// The program identity from a version resource: ProductName, CompanyName,
// Comments (the website) and the file version; the title is a build setting.
#pragma once

#include "platform/win32/VersionResource.h"
#include "services/identity/Identity.h"

namespace bastion::win32 {

// The strings as stored; the title and the branding number from the build.
services::Identity IdentityFromVersionStrings(const VersionStrings& strings);

// The running program's identity, from its own file. A program without a
// version resource has the identity the build was configured with.
services::Identity ReadOwnIdentity();

}  // namespace bastion::win32
