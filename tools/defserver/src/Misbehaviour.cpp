#include "Misbehaviour.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace defserver {

namespace {

constexpr const char* kText = "text/plain";
constexpr const char* kErrorPage =
    "<html><head><title>Server Error</title></head><body><h1>Server Error</h1>"
    "<p>The page cannot be displayed.</p></body></html>";
// The longest a "hang" holds its connection.
constexpr std::chrono::minutes kLongestHang{10};

// Sleeps in short steps until the time has passed or the server stops.
bool PauseUnlessStopping(const std::atomic<bool>& stopping, std::chrono::milliseconds pause) {
    const auto until = std::chrono::steady_clock::now() + pause;
    while (!stopping && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return !stopping;
}

}  // namespace

void Misbehave(const std::string& mode, const Answer& answer, int slowPauseMs, const std::atomic<bool>& stopping,
               httplib::Response& response) {
    const std::string& body = answer.Body();
    const std::chrono::milliseconds pause(slowPauseMs);
    if (mode == "status") {
        response.status = 500;
        response.set_content("Internal Server Error", kText);
    } else if (mode == "html") {
        response.status = 200;
        response.set_content(kErrorPage, "text/html");
    } else if (mode == "short") {
        // Announces more than it sends, then closes the connection.
        response.set_content_provider(body.size() + 64, kText,
                                      [body](std::size_t, std::size_t, httplib::DataSink& sink) {
                                          sink.write(body.data(), body.size());
                                          return false;
                                      });
    } else if (mode == "trickle") {
        // One byte, a short pause, the next byte: no read waits long, the
        // whole answer for ever.
        response.set_content_provider(
            body.size() * 1000 + 1, kText,
            [body, pause, &stopping](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                if (offset > 0 && !PauseUnlessStopping(stopping, pause / 4)) return false;
                const char byte = body.empty() ? ' ' : body[offset % body.size()];
                return sink.write(&byte, 1);
            });
    } else if (mode == "tamper") {
        // One definition changed on the way: its first byte.
        std::string changed = body;
        const std::size_t def = changed.find("[DEF]");
        if (!changed.empty()) changed[def == std::string::npos ? 0 : def + 5] ^= 1;
        response.set_content(changed, kText);
    } else if (mode == "drop") {
        // The last record before the signature taken out on the way.
        std::string shorter = body;
        const std::size_t signature = shorter.rfind("[BR]SIGNATURE|");
        const std::size_t last = signature == std::string::npos || signature == 0
                                     ? std::string::npos
                                     : shorter.rfind("[BR]", signature - 1);
        if (last != std::string::npos) shorter.erase(last, signature - last);
        response.set_content(shorter, kText);
    } else if (mode == "hang") {
        // The connection is taken and nothing is ever said on it.
        PauseUnlessStopping(stopping, kLongestHang);
        response.status = 503;
    } else {
        // "slow": three pieces with pauses between them.
        response.set_content_provider(
            body.size(), kText, [body, pause, &stopping](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                const std::size_t piece = std::max<std::size_t>(1, (body.size() + 2) / 3);
                const std::size_t size = std::min(piece, body.size() - offset);
                if (offset > 0 && !PauseUnlessStopping(stopping, pause)) return false;
                sink.write(body.data() + offset, size);
                return true;
            });
    }
}


}  // namespace defserver
