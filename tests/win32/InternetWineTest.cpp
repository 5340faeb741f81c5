// The internet facility through Wine's WinINet against a small HTTP server
// on 127.0.0.1 that runs on a thread of the test.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Internet.h"

namespace bastion::win32 {
namespace {

std::string AllByteValues() {
    std::string body;
    for (int i = 0; i < 256; ++i) {
        body += static_cast<char>(i);
    }
    return body;
}

std::string Pattern(std::size_t size) {
    std::string body;
    for (std::size_t i = 0; i < size; ++i) {
        body += static_cast<char>((i * 7) % 251);
    }
    return body;
}

class Socket {
public:
    explicit Socket(SOCKET s = INVALID_SOCKET) : s_(s) {}
    ~Socket() {
        if (s_ != INVALID_SOCKET) {
            ::closesocket(s_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET Get() const { return s_; }

private:
    SOCKET s_;
};

// Serves a few fixed answers, one connection at a time, until destroyed.
// Answers: "/bytes" every byte value once, "/exact" 256 bytes, "/short" 5
// bytes, "/long" 1000 bytes, "/counter" a new number each time, anything
// else 404.
class LocalHttpServer {
public:
    LocalHttpServer() {
        ::InitializeCriticalSection(&lock_);
        WSADATA data{};
        started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
        listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        int size = sizeof(address);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            ::listen(listener_, 4) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        thread_.Reset(::CreateThread(nullptr, 0, &LocalHttpServer::ThreadMain, this, 0, nullptr));
    }

    ~LocalHttpServer() {
        stop_ = true;
        if (thread_) {
            ::WaitForSingleObject(thread_.Get(), 10000);
        }
        if (listener_ != INVALID_SOCKET) {
            ::closesocket(listener_);
        }
        if (started_) {
            ::WSACleanup();
        }
        ::DeleteCriticalSection(&lock_);
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool Running() const { return static_cast<bool>(thread_); }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

    std::vector<std::string> Requests() {
        ::EnterCriticalSection(&lock_);
        std::vector<std::string> copy = requests_;
        ::LeaveCriticalSection(&lock_);
        return copy;
    }

private:
    static DWORD WINAPI ThreadMain(void* self) {
        static_cast<LocalHttpServer*>(self)->Serve();
        return 0;
    }

    void Serve() {
        // Polls so that the test's end stops the server within a moment,
        // whatever the client did.
        while (!stop_) {
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(listener_, &ready);
            timeval wait{0, 50 * 1000};
            if (::select(0, &ready, nullptr, nullptr, &wait) <= 0) {
                continue;
            }
            Socket client(::accept(listener_, nullptr, nullptr));
            if (client.Get() != INVALID_SOCKET) {
                Answer(client.Get());
            }
        }
    }

    void Answer(SOCKET client) {
        DWORD timeout = 5000;
        ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            int received = ::recv(client, buffer, sizeof(buffer), 0);
            if (received <= 0) {
                return;
            }
            request.append(buffer, received);
        }
        ::EnterCriticalSection(&lock_);
        requests_.push_back(request);
        ::LeaveCriticalSection(&lock_);

        std::size_t start = request.find(' ') + 1;
        std::string path = request.substr(start, request.find(' ', start) - start);
        int status = 200;
        std::string body;
        if (path == "/bytes" || path == "/exact") {
            body = AllByteValues();
        } else if (path == "/short") {
            body = "hello";
        } else if (path == "/long") {
            body = Pattern(1000);
        } else if (path == "/counter") {
            body = std::to_string(++counter_);
        } else {
            status = 404;
            body = "not here";
        }
        std::string answer = "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Not Found") +
                             "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                             std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
        std::size_t sent = 0;
        while (sent < answer.size()) {
            int n = ::send(client, answer.data() + sent, static_cast<int>(answer.size() - sent), 0);
            if (n <= 0) {
                return;
            }
            sent += static_cast<std::size_t>(n);
        }
        ::shutdown(client, SD_SEND);
    }

    CRITICAL_SECTION lock_;
    bool started_ = false;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    UniqueHandle thread_;
    std::atomic<bool> stop_{false};
    std::vector<std::string> requests_;
    int counter_ = 0;
};

class InternetWineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Running()); }

    LocalHttpServer server;
    Win32Internet internet;
};

TEST_F(InternetWineTest, ReturnsEveryByteExactlyAsSent) {
    auto result = internet.Get(server.Url("/bytes"));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(200, result.status);
    EXPECT_EQ(AllByteValues(), result.body);

    auto shortResult = internet.Get(server.Url("/short"));
    EXPECT_EQ("hello", shortResult.body);  // nothing appended to a short answer

    auto requests = server.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_NE(std::string::npos, requests[0].find("User-Agent: Mozilla\r\n")) << requests[0];
}

TEST_F(InternetWineTest, ReportsTheTotalReceivedAfterEveryChunk) {
    std::vector<std::size_t> totals;
    auto result = internet.Get(server.Url("/long"), [&](std::size_t received) { totals.push_back(received); });
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Pattern(1000), result.body);
    ASSERT_GE(totals.size(), 4u);  // at most 256 bytes a chunk
    std::size_t previous = 0;
    for (std::size_t total : totals) {
        EXPECT_GT(total, previous);
        EXPECT_LE(total - previous, 256u);
        previous = total;
    }
    EXPECT_EQ(1000u, totals.back());

    totals.clear();
    auto exact = internet.Get(server.Url("/exact"), [&](std::size_t received) { totals.push_back(received); });
    EXPECT_EQ(256u, exact.body.size());
    ASSERT_FALSE(totals.empty());
    EXPECT_EQ(256u, totals.back());
}

TEST_F(InternetWineTest, NeverAnswersFromACache) {
    EXPECT_EQ("1", internet.Get(server.Url("/counter")).body);
    EXPECT_EQ("2", internet.Get(server.Url("/counter")).body);
}

TEST_F(InternetWineTest, GivesTheStatusOfAnErrorPageAndFailsWhereNothingListens) {
    auto missing = internet.Get(server.Url("/missing"));
    ASSERT_TRUE(missing.ok);
    EXPECT_EQ(404, missing.status);
    EXPECT_EQ("not here", missing.body);

    // A port that was free a moment ago: nothing listens there now.
    unsigned short freePort = 0;
    {
        Socket probe(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof(address);
        ASSERT_EQ(0, ::bind(probe.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)));
        ASSERT_EQ(0, ::getsockname(probe.Get(), reinterpret_cast<sockaddr*>(&address), &size));
        freePort = ntohs(address.sin_port);
    }
    auto refused = internet.Get("http://127.0.0.1:" + std::to_string(freePort) + "/");
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.body.empty());

    EXPECT_FALSE(internet.Get("this is no address").ok);
}

// Takes connections into its backlog and never answers one: what a
// server looks like that accepts the connection and then hangs.
class SilentListener {
public:
    SilentListener() : socket_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof(address);
        if (::bind(socket_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            ::listen(socket_.Get(), 4) == 0 &&
            ::getsockname(socket_.Get(), reinterpret_cast<sockaddr*>(&address), &size) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/asp/date.asp"; }
    bool Listening() const { return port_ != 0; }

private:
    Socket socket_;
    unsigned short port_ = 0;
};

TEST_F(InternetWineTest, ARequestNobodyAnswersEndsAtItsDeadlineOrWhenCancelledAndPumpsMeanwhile) {
    SilentListener silent;
    ASSERT_TRUE(silent.Listening());
    // Nothing here asserts how long a step took beyond the request's own
    // deadline: a loaded machine may run any of it late.
    int rounds = 0;
    platform::HttpWaiting waiting;
    waiting.pump = [&] { ++rounds; };
    ULONGLONG started = ::GetTickCount64();
    const platform::HttpResult late = internet.Request({silent.Url(), std::chrono::milliseconds(1000)}, waiting);
    EXPECT_EQ(late.failure, platform::HttpFailure::TimedOut);
    EXPECT_GE(::GetTickCount64() - started, 1000u) << "not before its deadline";
    EXPECT_GE(rounds, 3) << "the window's events ran while it waited";

    // Without a deadline of its own only the cancel ends it.
    rounds = 0;
    waiting.cancelled = [&] { return rounds >= 5; };
    const platform::HttpResult cancelled = internet.Request({silent.Url()}, waiting);
    EXPECT_EQ(cancelled.failure, platform::HttpFailure::Cancelled);
    EXPECT_FALSE(cancelled.Succeeded());
}

}  // namespace
}  // namespace bastion::win32
