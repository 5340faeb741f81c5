#include "ui/settings/SettingKeys.h"

#include "common/Text.h"

namespace bastion::ui::settings {

std::string FoundColumnKey(int column) { return std::string(kFoundColumnPrefix) + ToDecimal(column); }

}  // namespace bastion::ui::settings
