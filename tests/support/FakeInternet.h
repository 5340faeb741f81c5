// An internet client that answers from a script by exact address. An
// address without a script is unreachable. Bodies are handed over in chunks
// of 256 bytes like the real client, with the running total after each.
#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/Internet.h"

namespace bastion::testing {

struct FakeResponse {
    bool reachable = true;
    int status = 200;
    std::string body;
    // A transfer that goes wrong after the body was handed over as far as
    // it got (a read failure, a cut-off answer, a time-out).
    platform::HttpFailure failure = platform::HttpFailure::None;
    // Rounds of waiting (each lets the asker pump and cancel) before the
    // answer comes; a negative number waits until the asker cancels.
    int waits = 0;
};

class FakeInternet : public platform::Internet {
public:
    static constexpr std::size_t kChunkSize = 256;

    platform::HttpResult Request(const platform::HttpRequest& request, const platform::HttpWaiting& waiting) override;

    // Every request for url gets this answer from now on.
    void Respond(const std::string& url, const std::string& body, int status = 200);
    void Unreachable(const std::string& url);
    // Successive requests for url get these answers in turn; the last one
    // stays for any further request.
    void RespondInTurn(const std::string& url, std::vector<FakeResponse> responses);
    // The answer for addresses without a script (unreachable unless set).
    FakeResponse defaultResponse{false, 0, ""};

    // Every requested address, in order, and each request's deadline.
    std::vector<std::string> requests;
    std::vector<std::chrono::milliseconds> deadlines;

private:
    struct Script {
        std::vector<FakeResponse> responses;
        std::size_t next = 0;
    };
    std::map<std::string, Script> scripts_;
};

}  // namespace bastion::testing
