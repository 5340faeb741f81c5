// A DefinitionServer listening on a free port of 127.0.0.1 on a thread of
// its own, stopped when the test ends, and a client for it.
#pragma once

#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

#include "DefinitionServer.h"

namespace defserver::test {

class RunningServer {
public:
    RunningServer(ServerOptions options, std::unique_ptr<FeedbackStore> feedback,
                  std::unique_ptr<Signer> signer = nullptr)
        : server_(std::move(options), std::move(feedback), std::move(signer)) {
        port_ = server_.Bind("127.0.0.1", 0);
        if (port_ > 0) thread_ = std::thread([this] { server_.Listen(); });
    }
    ~RunningServer() {
        server_.Stop();
        if (thread_.joinable()) thread_.join();
    }
    RunningServer(const RunningServer&) = delete;
    RunningServer& operator=(const RunningServer&) = delete;

    int Port() const { return port_; }
    httplib::Result Get(const std::string& target, const httplib::Headers& headers = {}) const {
        httplib::Client client("127.0.0.1", port_);
        client.set_read_timeout(std::chrono::seconds(10));
        return client.Get(target.c_str(), headers);
    }

private:
    DefinitionServer server_;
    int port_ = -1;
    std::thread thread_;
};

// Every byte of the text percent-encoded, as a query value.
inline std::string Escaped(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        out += '%';
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    }
    return out;
}

}  // namespace defserver::test
