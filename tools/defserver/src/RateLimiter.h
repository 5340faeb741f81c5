// How many requests one address may make in a minute, and how many may be
// under way at once from all addresses together: the feedback paths write
// to the database, and neither one client nor a database that has stopped
// answering may fill it or hold every thread of the server.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
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
    // An IPv6 address counts for its /64, which one subscriber holds whole.
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

// What an address counts as: an IPv6 address as its /64 ("2001:db8:1:2::/64"),
// an IPv4 address mapped into IPv6 as the IPv4 address, anything else as
// itself.
std::string AddressBucket(const std::string& address);

// At most a number of holders at once.
class AtOnceLimit {
public:
    explicit AtOnceLimit(std::size_t most) : most_(most) {}

    // A place while it lives, or none (false) when all are taken.
    class Place {
    public:
        explicit Place(AtOnceLimit& limit);
        ~Place();
        Place(const Place&) = delete;
        Place& operator=(const Place&) = delete;
        explicit operator bool() const { return taken_; }

    private:
        AtOnceLimit& limit_;
        bool taken_ = false;
    };

private:
    const std::size_t most_;
    std::atomic<std::size_t> held_{0};
};

}  // namespace defserver
