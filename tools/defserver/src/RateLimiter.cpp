#include "RateLimiter.h"

namespace defserver {

namespace {

constexpr std::chrono::minutes kWindow{1};
// Past this many addresses, the ones whose minute is over are forgotten.
constexpr std::size_t kPruneAbove = 10000;

}  // namespace

bool RateLimiter::Allow(const std::string& address, Clock::time_point now) {
    if (perMinute_ <= 0) return true;
    std::lock_guard<std::mutex> hold(lock_);
    if (windows_.size() > kPruneAbove) {
        std::erase_if(windows_, [&](const auto& entry) { return now - entry.second.start >= kWindow; });
    }
    Window& window = windows_[address];
    if (window.count == 0 || now - window.start >= kWindow) window = Window{now, 0};
    return ++window.count <= perMinute_;
}

}  // namespace defserver
