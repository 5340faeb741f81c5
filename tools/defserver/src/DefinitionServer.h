// The reference definition server: the definition date and the delta since
// a client's date from a folder of change sets, the translation files, and
// the feedback requests. What it keeps between requests is drawn from its
// folder (the deltas it made, until the folder changes) or lives in its
// feedback store, so any number of instances serving the same folder and
// database behind a load balancer give the same answers.
//
// Definition answers carry an entity tag and the time the folder last
// changed, and a request that already holds the answer gets "304 Not
// Modified": a cache in front serves repeats.
//
// With the vendor's key it signs every delta and translation file. Request
// bodies and addresses are capped, and the feedback paths allow each
// address a number of requests a minute.
//
// For tests (--test-control only) it misbehaves on request: an address that
// starts with "/misbehave/MODE" answers the same request with an error
// status ("status"), an HTML error page with status 200 ("html"), a body
// cut short of its Content-Length ("short"), a body sent in three slow
// pieces ("slow"), a body sent a byte at a time without end in sight
// ("trickle"), or takes the connection and never answers ("hang"); or, as
// someone on the path would, changes a definition of a signed answer
// ("tamper"), takes out its last record ("drop"), or plays back the delta
// of the first day whatever date was asked ("replay");
// "/misbehave/MODE-NAME" misbehaves for the request NAME only (for example
// "short-getDefsNEW" cuts the delta short and answers the dates as usual;
// "/misbehave/MODE/Languages/..." misbehaves for a translation file).
#pragma once

#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "DeltaCache.h"
#include "FeedbackStore.h"
#include "PublishedChanges.h"
#include "RateLimiter.h"
#include "Signing.h"

namespace httplib {
class Server;
}

namespace defserver {

struct ServerOptions {
    std::filesystem::path changes;
    // The translation files: DIR/N/Localization.txt is served as
    // "/Languages/N/Localization.txt" for branding number N; none means
    // there are none to serve.
    std::filesystem::path languages;
    // Every request's path and query, one a line, when set.
    std::filesystem::path requestLog;
    // "/test/stop" ends the server (for tests that run it as a program);
    // "/test/feedback?table=data" (or "false_positives") answers the stored
    // texts, each as its length in bytes, ":" and the bytes; and the
    // "/misbehave/" addresses exist.
    bool testControl = false;
    // Pause between the pieces of a slow body; a trickle pauses a quarter
    // of it between its bytes.
    int slowPauseMs = 1000;
    // Requests a minute that one address may make to the feedback paths;
    // 0 for no limit.
    int feedbackPerMinute = 30;
    // Where problems in the change sets are told.
    std::function<void(const std::string&)> report;
    // How often the change folder is looked at again, at most.
    std::chrono::milliseconds lookEvery{std::chrono::seconds(1)};
    // The bytes of deltas kept for the next client with the same date.
    std::size_t deltaCacheBytes = 64 * 1024 * 1024;
    // Requests served at once (one per open connection).
    std::size_t threads = 64;
    // Addresses of reverse proxies whose X-Forwarded-For names the client:
    // the feedback limits then count the client's address, not the proxy's.
    std::vector<std::string> trustedProxies;
};

// The largest request body taken (the program sends none) and the longest
// request line.
inline constexpr std::size_t kMaxRequestBody = 64 * 1024;
inline constexpr std::size_t kMaxRequestUri = 8192;

// A plain answer before any misbehaviour; a definition answer with its
// entity tag and time of last change.
struct Answer {
    Answer() = default;
    Answer(int status, std::string body, std::string tag = {}, std::time_t lastModified = 0)
        : status(status), body(std::move(body)), tag(std::move(tag)), lastModified(lastModified) {}

    int status = 200;
    std::string body;
    std::string tag;
    std::time_t lastModified = 0;
};

class DefinitionServer {
public:
    // feedback: where feedback goes; none means feedback requests are
    // refused. signer: the vendor's key; none means nothing is signed.
    DefinitionServer(ServerOptions options, std::unique_ptr<FeedbackStore> feedback = nullptr,
                     std::unique_ptr<Signer> signer = nullptr);
    ~DefinitionServer();
    DefinitionServer(const DefinitionServer&) = delete;
    DefinitionServer& operator=(const DefinitionServer&) = delete;

    // The answer of one of the "/asp/NAME.asp" requests to its decoded
    // query parameters.
    Answer Respond(const std::string& name, const std::map<std::string, std::string>& params);
    // The translation file of a branding number.
    Answer LanguageFile(const std::string& number);
    // Whether the change folder can be read: a server that cannot has no
    // date to give.
    bool ChangesReadable() { return changes_.Current() != nullptr; }

    // Binds to the port (0: any free one); the port, or -1.
    int Bind(const std::string& host, int port);
    // Serves until Stop, which may come from any thread at any time.
    bool Listen();
    void Stop();

private:
    void Log(const std::string& line);
    void Route();
    Answer Feedback(const std::string& name, const std::map<std::string, std::string>& params);
    // The delta since the date the client asked with, signed when there is
    // a key.
    CachedAnswer MakeDelta(const ChangeLog& log, const std::string& asked, const bastion::DateTime& since) const;

    ServerOptions options_;
    PublishedChanges changes_;
    DeltaCache deltas_;
    std::unique_ptr<FeedbackStore> feedback_;
    std::unique_ptr<Signer> signer_;
    RateLimiter feedbackLimit_;
    std::unique_ptr<httplib::Server> http_;
    std::mutex logLock_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> listening_{false};
    std::atomic<bool> listenEnded_{false};
};

}  // namespace defserver
