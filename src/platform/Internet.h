// One uncached HTTP GET through the system's internet client, and the rule
// every request of the program reads its answer by: only a whole body of a
// successful answer is text; anything else is a failure, never text.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace bastion::platform {

// Why a request gave no usable answer.
enum class HttpFailure {
    None,
    // The connection or the address could not be opened.
    Unreachable,
    // A read failed part-way.
    ReadFailed,
    // The connection ended before the Content-Length the server announced.
    Truncated,
    // The answer is larger than the client takes.
    TooLarge,
    // Connecting or receiving took longer than the client waits.
    TimedOut,
};

// Answers above this size are refused: the largest definition delta is far
// below it, and a server that sends without end must not fill the memory.
inline constexpr std::size_t kMaxHttpBody = 32u << 20;

struct HttpResult {
    // False when the connection or the address could not be opened.
    bool ok = false;
    int status = 0;
    // The body bytes as received (part of them after a failure).
    std::string body;
    HttpFailure failure = HttpFailure::None;

    // A 2xx answer whose body arrived whole.
    bool Succeeded() const { return ok && failure == HttpFailure::None && status >= 200 && status < 300; }
};

class Internet {
public:
    virtual ~Internet() = default;

    // Reads the body in chunks of at most 256 bytes; onChunk receives the
    // number of bytes received so far after every chunk.
    virtual HttpResult Get(const std::string& url,
                           const std::function<void(std::size_t received)>& onChunk = {}) = 0;
};

// One GET; the body of a successful answer received whole, nullopt for an
// unreachable server, an error status, a read that failed or stopped short,
// a time-out or an answer over the size cap.
std::optional<std::string> HttpGetText(Internet& internet, const std::string& url,
                                       const std::function<void(std::size_t received)>& onChunk = {});

}  // namespace bastion::platform
