// HTTP GETs through WinINet, each on a worker thread of its own so that
// the asking thread keeps its window answering: it waits for the worker's
// chunks, lets its events run meanwhile, and leaves at its deadline or when
// it is cancelled. The system's proxy settings apply; "https://" addresses
// work as given.
#pragma once

#include <cstddef>

#include "platform/Internet.h"

namespace bastion::win32 {

struct InternetLimits {
    unsigned long connectTimeoutMs = 15000;
    // The longest wait for the next bytes of an answer. A worker whose
    // asker has left ends at the latest after this.
    unsigned long receiveTimeoutMs = 30000;
    std::size_t maxBody = platform::kMaxHttpBody;
};

class Win32Internet final : public platform::Internet {
public:
    explicit Win32Internet(InternetLimits limits = {}) : limits_(limits) {}

    platform::HttpResult Request(const platform::HttpRequest& request, const platform::HttpWaiting& waiting) override;

private:
    InternetLimits limits_;
};

}  // namespace bastion::win32
