// How many requests one address may make in a minute: the feedback paths
// write to the database, and one client must not fill it or hold it.
#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>

namespace defserver {

class RateLimiter {
public:
    using Clock = std::chrono::steady_clock;

    // perMinute 0: no limit.
    explicit RateLimiter(int perMinute) : perMinute_(perMinute) {}

    // Counts the request; false when the address has used up its minute.
    bool Allow(const std::string& address, Clock::time_point now = Clock::now());

private:
    struct Window {
        Clock::time_point start;
        int count = 0;
    };

    const int perMinute_;
    std::mutex lock_;
    std::map<std::string, Window> windows_;
};

}  // namespace defserver
