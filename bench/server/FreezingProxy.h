// A TCP relay in front of the feedback database that can stop passing
// anything on, as a database that has stopped answering does: its
// connections stay open, nothing comes back, and nothing tells the server.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace bench {

class FreezingProxy {
public:
    // Relays connections to 127.0.0.1:target.
    explicit FreezingProxy(int target) : target_(target) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = Loopback(0);
        socklen_t length = sizeof(address);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            ::listen(listener_, 64) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        accepter_ = std::thread([this] { Accept(); });
    }
    ~FreezingProxy() {
        stopping_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        if (accepter_.joinable()) accepter_.join();
        std::lock_guard<std::mutex> hold(lock_);
        for (const int socket : sockets_) ::shutdown(socket, SHUT_RDWR);
        for (std::thread& pump : pumps_) pump.join();
        for (const int socket : sockets_) ::close(socket);
    }
    FreezingProxy(const FreezingProxy&) = delete;
    FreezingProxy& operator=(const FreezingProxy&) = delete;

    int Port() const { return port_; }
    void Freeze(bool frozen) { frozen_ = frozen; }

private:
    static sockaddr_in Loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }
    void Accept() {
        while (!stopping_) {
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0) return;
            const int server = ::socket(AF_INET, SOCK_STREAM, 0);
            const sockaddr_in address = Loopback(target_);
            if (::connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
                ::close(client);
                ::close(server);
                continue;
            }
            std::lock_guard<std::mutex> hold(lock_);
            sockets_.push_back(client);
            sockets_.push_back(server);
            pumps_.emplace_back([this, client, server] { Pump(client, server); });
            pumps_.emplace_back([this, client, server] { Pump(server, client); });
        }
    }
    void Pump(int from, int to) {
        char buffer[16384];
        for (;;) {
            const ssize_t read = ::recv(from, buffer, sizeof buffer, 0);
            if (read <= 0) break;
            // Frozen: what arrived is held, as by a server that stopped.
            while (frozen_ && !stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (stopping_ || ::send(to, buffer, static_cast<std::size_t>(read), MSG_NOSIGNAL) != read) break;
        }
        ::shutdown(to, SHUT_WR);
    }

    const int target_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> frozen_{false};
    std::thread accepter_;
    std::mutex lock_;
    std::vector<int> sockets_;
    std::vector<std::thread> pumps_;
};

}  // namespace bench
