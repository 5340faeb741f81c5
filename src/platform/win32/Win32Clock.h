// The local time of the machine.
#pragma once

#include "platform/Clock.h"

namespace bastion::win32 {

class Win32Clock final : public platform::Clock {
public:
    DateTime Now() override;
};

}  // namespace bastion::win32
