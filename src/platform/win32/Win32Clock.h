// The machine's clock: local time, universal time and the tick count.
#pragma once

#include "platform/Clock.h"

namespace bastion::win32 {

class Win32Clock final : public platform::Clock {
public:
    DateTime Now() override;
    DateTime UniversalNow() override;
    std::uint64_t Milliseconds() override;
};

}  // namespace bastion::win32
