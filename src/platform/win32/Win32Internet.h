// One uncached HTTP GET through WinINet, with time-outs for connecting and
// receiving, the announced length checked and a cap on the size.
#pragma once

#include <cstddef>

#include "platform/Internet.h"

namespace bastion::win32 {

struct InternetLimits {
    unsigned long connectTimeoutMs = 15000;
    // The longest wait for the next bytes of an answer.
    unsigned long receiveTimeoutMs = 30000;
    std::size_t maxBody = platform::kMaxHttpBody;
};

class Win32Internet final : public platform::Internet {
public:
    explicit Win32Internet(InternetLimits limits = {}) : limits_(limits) {}

    platform::HttpResult Get(const std::string& url,
                             const std::function<void(std::size_t received)>& onChunk = {}) override;

private:
    InternetLimits limits_;
};

}  // namespace bastion::win32
