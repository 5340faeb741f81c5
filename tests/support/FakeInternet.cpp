#include "support/FakeInternet.h"

#include <algorithm>

namespace bastion::testing {

platform::HttpResult FakeInternet::Request(const platform::HttpRequest& request, const platform::HttpWaiting& waiting) {
    requests.push_back(request.url);
    deadlines.push_back(request.deadline);
    FakeResponse response = defaultResponse;
    if (auto found = scripts_.find(request.url); found != scripts_.end() && !found->second.responses.empty()) {
        Script& script = found->second;
        response = script.responses[std::min(script.next, script.responses.size() - 1)];
        ++script.next;
    }
    platform::HttpResult result;
    for (int round = 0; response.waits < 0 || round < response.waits; ++round) {
        if (waiting.pump) waiting.pump();
        if (waiting.cancelled && waiting.cancelled()) {
            result.failure = platform::HttpFailure::Cancelled;
            return result;
        }
        // A wait without end that nobody cancels is the deadline's.
        if (round > 100000) {
            result.failure = platform::HttpFailure::TimedOut;
            return result;
        }
    }
    if (!response.reachable) {
        result.failure = platform::HttpFailure::Unreachable;
        return result;
    }
    result.ok = true;
    result.status = response.status;
    result.failure = response.failure;
    for (std::size_t received = 0; received < response.body.size();) {
        std::size_t chunk = std::min(kChunkSize, response.body.size() - received);
        result.body.append(response.body, received, chunk);
        received += chunk;
        if (waiting.onChunk) waiting.onChunk(received);
    }
    return result;
}

void FakeInternet::Respond(const std::string& url, const std::string& body, int status) {
    RespondInTurn(url, {FakeResponse{true, status, body}});
}

void FakeInternet::Unreachable(const std::string& url) {
    RespondInTurn(url, {FakeResponse{false, 0, ""}});
}

void FakeInternet::RespondInTurn(const std::string& url, std::vector<FakeResponse> responses) {
    scripts_[url] = Script{std::move(responses), 0};
}

}  // namespace bastion::testing
