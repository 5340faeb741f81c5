#include "services/settings/SettingKeys.h"

#include "common/Text.h"

namespace bastion::services::settings {

std::string FoundColumnKey(int column) { return std::string(kFoundColumnPrefix) + ToDecimal(column); }

}  // namespace bastion::services::settings
