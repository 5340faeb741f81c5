#include "removal/RemovalResult.h"

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

}  // namespace bastion
