// How a server request of an operation waits: the window's events run
// while the answer is on its way (so it repaints, its timers tick and
// Cancel can be pressed), and the request ends at once when the operation
// is asked to stop, or the program is ending.
#pragma once

#include <cstddef>
#include <functional>

#include "platform/Internet.h"
#include "services/operations/OperationGate.h"
#include "services/waits/EventPump.h"

namespace bastion::services {

// stopRequested: the operation's own stop (Cancel); may be empty.
platform::HttpWaiting RequestWait(EventPump& pump, const OperationGate& gate,
                                  std::function<bool()> stopRequested = {},
                                  std::function<void(std::size_t received)> onChunk = {});

}  // namespace bastion::services
