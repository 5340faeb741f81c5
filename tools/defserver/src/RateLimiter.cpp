#include "RateLimiter.h"

#include <arpa/inet.h>

#include <array>
#include <cstring>

namespace defserver {

namespace {

constexpr std::chrono::minutes kWindow{1};
// Past this many addresses, the ones whose minute is over are forgotten.
constexpr std::size_t kPruneAbove = 10000;

}  // namespace

std::string AddressBucket(const std::string& address) {
    std::array<unsigned char, 16> bytes{};
    if (::inet_pton(AF_INET6, address.c_str(), bytes.data()) != 1) return address;
    static constexpr unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    char text[INET6_ADDRSTRLEN] = {};
    if (std::memcmp(bytes.data(), kMapped, sizeof kMapped) == 0) {
        return ::inet_ntop(AF_INET, bytes.data() + 12, text, sizeof text) ? std::string(text) : address;
    }
    std::memset(bytes.data() + 8, 0, 8);
    return ::inet_ntop(AF_INET6, bytes.data(), text, sizeof text) ? std::string(text) + "/64" : address;
}

bool RateLimiter::Allow(const std::string& address, Clock::time_point now) {
    if (perMinute_ <= 0) return true;
    std::lock_guard<std::mutex> hold(lock_);
    if (windows_.size() > kPruneAbove) {
        std::erase_if(windows_, [&](const auto& entry) { return now - entry.second.start >= kWindow; });
    }
    Window& window = windows_[AddressBucket(address)];
    if (window.count == 0 || now - window.start >= kWindow) window = Window{now, 0};
    return ++window.count <= perMinute_;
}

AtOnceLimit::Place::Place(AtOnceLimit& limit) : limit_(limit) {
    std::size_t held = limit_.held_.load();
    while (held < limit_.most_) {
        if (limit_.held_.compare_exchange_weak(held, held + 1)) {
            taken_ = true;
            return;
        }
    }
}

AtOnceLimit::Place::~Place() {
    if (taken_) --limit_.held_;
}

}  // namespace defserver
