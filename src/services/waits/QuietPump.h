// A pump that lets no event through. A background look that holds the
// program's one operation for a moment takes no click meanwhile: a click
// taken then would find the operation held and be turned away, while left in
// the queue it is handled as soon as the look is done.
#pragma once

#include "services/waits/EventPump.h"

namespace bastion::services {

class QuietPump final : public EventPump {
public:
    void Pump() override {}
    void PumpNow() override {}
};

}  // namespace bastion::services
