// The reference definition server: the definition date and the delta since
// a client's date from a folder of change sets, the translation files, and
// the feedback requests. It keeps no state between requests beyond its
// folder and its feedback store, so any number of instances behind a load
// balancer give the same answers.
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
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ChangeFolder.h"
#include "FeedbackStore.h"
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
};

// The largest request body taken (the program sends none) and the longest
// request line.
inline constexpr std::size_t kMaxRequestBody = 64 * 1024;
inline constexpr std::size_t kMaxRequestUri = 8192;

// A plain answer before any misbehaviour.
struct Answer {
    int status = 200;
    std::string body;
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
    bool ChangesReadable() { return changes_.Read().has_value(); }

    // Binds to the port (0: any free one); the port, or -1.
    int Bind(const std::string& host, int port);
    // Serves until Stop.
    bool Listen();
    void Stop();

private:
    void Log(const std::string& line);
    void Route();
    Answer Feedback(const std::string& name, const std::map<std::string, std::string>& params);

    ServerOptions options_;
    ChangeFolder changes_;
    std::unique_ptr<FeedbackStore> feedback_;
    std::unique_ptr<Signer> signer_;
    RateLimiter feedbackLimit_;
    std::unique_ptr<httplib::Server> http_;
    std::mutex logLock_;
    std::mutex feedbackLock_;
    std::atomic<bool> stopping_{false};
};

}  // namespace defserver
