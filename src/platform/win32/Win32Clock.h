// The machine's clock: local time and universal time.
#pragma once

#include "platform/Clock.h"

namespace bastion::win32 {

class Win32Clock final : public platform::Clock {
public:
    DateTime Now() override;
    DateTime UniversalNow() override;
};

}  // namespace bastion::win32
