#include "services/waits/RequestWait.h"

#include <utility>

namespace bastion::services {

platform::HttpWaiting RequestWait(EventPump& pump, const OperationGate& gate, std::function<bool()> stopRequested,
                                  std::function<void(std::size_t received)> onChunk) {
    platform::HttpWaiting waiting;
    waiting.onChunk = std::move(onChunk);
    waiting.pump = [&pump] { pump.PumpNow(); };
    waiting.cancelled = [&pump, &gate, stop = std::move(stopRequested)] {
        return gate.Ending() || pump.Quitting() || (stop && stop());
    };
    return waiting;
}

}  // namespace bastion::services
