#include "removal/RestorePoints.h"

namespace bastion {

bool IsRestorePointSupported(const platform::OsVersion& version) {
    if (version.platformId == platform::kWindows95Family) return version.minor == 90;
    if (version.platformId == platform::kWindowsNtFamily) return version.major > 5 || (version.major == 5 && version.minor == 1);
    return false;
}

bool RestorePoint::BeginRestorePoint(const std::string& description, int restorePointType) {
    if (Open()) return false;
    sequenceNumber_ = restore_.Begin(description, restorePointType);
    return Open();
}

bool RestorePoint::EndRestorePoint() {
    if (!Open()) return false;
    const bool ended = restore_.End(*sequenceNumber_);
    sequenceNumber_.reset();
    return ended;
}

}  // namespace bastion
