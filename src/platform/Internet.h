// One uncached HTTP GET through the system's internet client, and the rule
// every request of the program reads its answer by: only a whole body of a
// successful answer is text; anything else is a failure, never text.
//
// A request never blocks the thread that asks: the connection and the reads
// wait elsewhere, and the asking thread lets its window's events run while
// it waits, gets every chunk's running total on its own thread, and can end
// the request at once (Cancel, the program's exit). Each request has an
// overall deadline, so that a server that trickles bytes cannot hold it.
#pragma once

#include <chrono>
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
    // Connecting or receiving took longer than the client waits, or the
    // whole request longer than its deadline.
    TimedOut,
    // The asker ended the request.
    Cancelled,
};

// Answers above this size are refused: the largest definition delta is far
// below it, and a server that sends without end must not fill the memory.
inline constexpr std::size_t kMaxHttpBody = 32u << 20;

// The whole of a request unless the caller says otherwise.
inline constexpr std::chrono::milliseconds kDefaultHttpDeadline{30000};

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

struct HttpRequest {
    std::string url;
    // From the call to the last byte: connecting, waiting and reading.
    std::chrono::milliseconds deadline = kDefaultHttpDeadline;
};

// What the asking thread does while its request waits; every function runs
// on that thread, none is required.
struct HttpWaiting {
    // The number of bytes received so far, after chunks arrived.
    std::function<void(std::size_t received)> onChunk;
    // Lets pending window events run now; called at least every 50 ms.
    std::function<void()> pump;
    // True ends the request at once, as Cancelled.
    std::function<bool()> cancelled;
};

class Internet {
public:
    virtual ~Internet() = default;

    // Reads the body in chunks of at most 256 bytes.
    virtual HttpResult Request(const HttpRequest& request, const HttpWaiting& waiting) = 0;

    // A request with the default deadline that only reports its chunks.
    HttpResult Get(const std::string& url, const std::function<void(std::size_t received)>& onChunk = {}) {
        return Request(HttpRequest{url}, HttpWaiting{onChunk, {}, {}});
    }
};

// One GET; the body of a successful answer received whole, nullopt for an
// unreachable server, an error status, a read that failed or stopped short,
// a time-out, a cancel or an answer over the size cap.
std::optional<std::string> HttpGetText(Internet& internet, const HttpRequest& request, const HttpWaiting& waiting = {});

}  // namespace bastion::platform
