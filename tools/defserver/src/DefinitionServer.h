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
// With the vendor's key it signs every date answer, delta and translation
// file, each beginning with its kind ("DATE|", "DELTA|", "LANGUAGE|"), so
// that none can be passed off as another. Request bodies and addresses are
// capped; the feedback paths allow each address a number of requests a
// minute, and all addresses together a number at once, so that a database
// that does not answer can hold only a few of the threads that serve the
// definitions.
//
// For tests (--test-control only) it misbehaves on request: an address that
// starts with "/misbehave/MODE" answers the same request with an error
// status ("status"), an HTML error page with status 200 ("html"), a body
// cut short of its Content-Length ("short"), a body sent in three slow
// pieces ("slow"), a body sent a byte at a time without end in sight
// ("trickle"), or takes the connection and never answers ("hang"); or, as
// someone on the path would, changes a definition of a signed answer
// ("tamper"), takes out its last record ("drop"), plays back the first
// delta it signed whatever date was asked ("replay"), answers with a date
// signed eight days ago as a stale mirror would ("stale"), or with the
// signed translation file of the lowest branding number it serves
// ("language");
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
    // Feedback requests under way at once, from all addresses together;
    // more are refused with 503 at once. No more than half the threads.
    std::size_t feedbackAtOnce = 16;
    // The request log is started anew past this size, the old one kept as
    // FILE.1.
    std::uintmax_t requestLogBytes = 64 * 1024 * 1024;
    // Where problems in the change sets are told.
    std::function<void(const std::string&)> report;
    // How often the change folder is looked at again, at most.
    std::chrono::milliseconds lookEvery{std::chrono::seconds(1)};
    // How long a change set must stay unwritten before it is read.
    std::chrono::seconds settle{ChangeFolder::kSettle};
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
// entity tag and time of last change. The body may be shared with the delta
// cache: it is sent from there, never copied per request.
struct Answer {
    Answer() = default;
    Answer(int status, std::string body, std::string tag = {}, std::time_t lastModified = 0)
        : status(status),
          body(std::make_shared<const std::string>(std::move(body))),
          tag(std::move(tag)),
          lastModified(lastModified) {}
    Answer(int status, std::shared_ptr<const std::string> body, std::string tag, std::time_t lastModified)
        : status(status), body(std::move(body)), tag(std::move(tag)), lastModified(lastModified) {}

    const std::string& Body() const;

    int status = 200;
    std::shared_ptr<const std::string> body;
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
    // The translation file of a branding number; with the key, signed as
    // "LANGUAGE|" number "|" and the file's bytes.
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
    // The date answer, signed with the moment it was issued when there is
    // a key: made once a second at most.
    Answer DateAnswer(const Publication& published);
    Answer SignedDateAt(const Publication& published, std::time_t issued) const;
    Answer Delta(const Publication& published, const std::string& asked);
    // The records of every set from the first after the client's date on.
    CachedAnswer MakeDelta(const ChangeLog& log, std::size_t first) const;
    // The signed translation file of the lowest branding number served.
    Answer FirstLanguageFile();
    // What "replay", "stale" and "language" answer instead of plain.
    Answer PlayedBack(const std::string& mode, const std::string& name, Answer plain);

    ServerOptions options_;
    PublishedChanges changes_;
    DeltaCache deltas_;
    std::unique_ptr<FeedbackStore> feedback_;
    std::unique_ptr<Signer> signer_;
    RateLimiter feedbackLimit_;
    AtOnceLimit feedbackAtOnce_;
    std::unique_ptr<httplib::Server> http_;
    std::mutex logLock_;
    std::mutex dateLock_;
    // The signed date answer of the second it was issued in.
    Answer signedDate_;
    std::uint64_t signedDateVersion_ = 0;
    std::time_t signedDateIssued_ = 0;
    // Under test control: the first delta signed, for "replay".
    std::mutex replayLock_;
    std::shared_ptr<const std::string> firstDelta_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> listening_{false};
    std::atomic<bool> listenEnded_{false};
};

}  // namespace defserver
