// The reference definition server: the definition date and the delta since
// a client's date from a folder of change sets, and the feedback requests.
// It keeps no state between requests beyond its folder and database, so any
// number of instances behind a load balancer give the same answers.
//
// For tests it misbehaves on request: an address that starts with
// "/misbehave/MODE" answers the same request with an error status
// ("status"), an HTML error page with status 200 ("html"), a body cut short
// of its Content-Length ("short") or a body sent slowly ("slow");
// "/misbehave/MODE-NAME" misbehaves for the request NAME only (for example
// "short-getDefsNEW" cuts the delta short and answers the dates as usual;
// "/misbehave/MODE/Languages/..." misbehaves for a translation file).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "common/DateTime.h"

namespace httplib {
class Server;
}

namespace defserver {

class Feedback;

struct ServerOptions {
    std::filesystem::path changes;
    // The translation files: DIR/N/Localization.txt is served as
    // "/Languages/N/Localization.txt" for branding number N; none means
    // there are none to serve.
    std::filesystem::path languages;
    // The feedback database; none means feedback requests are refused.
    std::string feedback;
    // Every request's path and query, one a line, when set.
    std::filesystem::path requestLog;
    // "/test/stop" ends the server (for tests that run it as a program);
    // "/test/feedback?table=data" (or "false_positives") answers the stored
    // texts, each as its length in bytes, ":" and the bytes.
    bool testControl = false;
    // Pause between the pieces of a slow body.
    int slowPauseMs = 1000;
};

// A plain answer before any misbehaviour.
struct Answer {
    int status = 200;
    std::string body;
};

class DefinitionServer {
public:
    explicit DefinitionServer(ServerOptions options);
    ~DefinitionServer();
    DefinitionServer(const DefinitionServer&) = delete;
    DefinitionServer& operator=(const DefinitionServer&) = delete;

    // The answer of one of the "/asp/NAME.asp" requests to its decoded
    // query parameters.
    Answer Respond(const std::string& name, const std::map<std::string, std::string>& params);
    // The translation file of a branding number.
    Answer LanguageFile(const std::string& number);

    // Binds to the port (0: any free one); the port, or -1.
    int Bind(const std::string& host, int port);
    // Serves until Stop.
    bool Listen();
    void Stop();

private:
    void Log(const std::string& line);

    ServerOptions options_;
    std::unique_ptr<httplib::Server> http_;
    std::unique_ptr<Feedback> feedback_;
    std::mutex logLock_;
};

}  // namespace defserver
