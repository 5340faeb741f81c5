// One uncached HTTP GET through the system's internet client.
#pragma once

#include <functional>
#include <string>

namespace bastion::platform {

struct HttpResult {
    // False when the connection or the address could not be opened.
    bool ok = false;
    int status = 0;
    // The body bytes exactly as received.
    std::string body;
};

class Internet {
public:
    virtual ~Internet() = default;

    // Reads the body in chunks of at most 256 bytes; onChunk receives the
    // number of bytes received so far after every chunk.
    virtual HttpResult Get(const std::string& url,
                           const std::function<void(std::size_t received)>& onChunk = {}) = 0;
};

}  // namespace bastion::platform
