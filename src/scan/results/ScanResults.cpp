#include "scan/results/ScanResults.h"

#include <algorithm>
#include <limits>

namespace bastion {

void CountOne(std::int32_t& counter) {
    if (counter < std::numeric_limits<std::int32_t>::max()) {
        ++counter;
    }
}

const Detection* ScanResults::Find(DetectionId id) const {
    const auto found = std::find_if(detections.begin(), detections.end(),
                                    [id](const Detection& detection) { return detection.id == id; });
    return found == detections.end() ? nullptr : &*found;
}

}  // namespace bastion
