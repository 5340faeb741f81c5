#include "scan/results/Detection.h"

namespace bastion {

std::string ShownName(const Detection& detection) {
    if (detection.kind == DetectionKind::Cookie) return "Cookie: " + detection.threat;
    return detection.threat;
}

std::vector<std::string> ExclusionItems(const Detection& detection) { return {detection.location, detection.threat}; }

bool Removable(const Detection& detection) { return detection.kind != DetectionKind::RunningProgram; }

}  // namespace bastion
