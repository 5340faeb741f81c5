#include "scan/MCookies.h"

namespace bastion {

// Placeholder until the cookie scan lands.
void ScanCookies(ScanContext&, std::int32_t&) {}

}  // namespace bastion
