// The known-location scans of the Smart Scan: each file and directory
// definition names one place; the scan looks whether the item is there.
// They read the definition files afresh at every scan.
#pragma once

#include "scan/ScanContext.h"

namespace bastion {

void ScanKnownFileLocations(ScanContext& context);
void ScanKnownDirectoryLocations(ScanContext& context);

}  // namespace bastion
