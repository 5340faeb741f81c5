// The cookie scan: every file of the user's cookie folder whose web domain
// is on the blocked list becomes a "Tracking Cookie" detection.
#pragma once

#include <cstdint>

#include "scan/ScanContext.h"

namespace bastion {

// filesExamined is the controller's count of cookie files examined.
void ScanCookies(ScanContext& context, std::int32_t& filesExamined);

}  // namespace bastion
