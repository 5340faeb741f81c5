#include "removal/RemovalResult.h"

#include <algorithm>

namespace bastion {

std::string_view RemovalResultWord(RemovalResult result) {
    switch (result) {
    case RemovalResult::Removed: return "removed";
    case RemovalResult::NotFound: return "not found";
    case RemovalResult::NotTried:
    case RemovalResult::Failed: break;
    }
    return "failed";
}

RemovalResult RemovalReport::ResultOf(DetectionId detection) const {
    const auto found = std::find_if(items.begin(), items.end(), [detection](const RemovedItem& item) {
        return detection != 0 && item.detection == detection;
    });
    return found == items.end() ? RemovalResult::NotTried : found->result;
}

}  // namespace bastion
