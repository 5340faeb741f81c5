// defserver: the reference definition server, and the build's maker of the
// starter definitions.
//
//   defserver serve --changes DIR [--languages DIR] [--feedback FILE|URI] [--key KEY.pem]
//                   [--feedback-limit N] [--feedback-at-once N] [--feedback-connections N]
//                   [--trusted-proxy ADDRESSES] [--threads N] [--delta-cache-mb N] [--host HOST] [--port N]
//                   [--port-file FILE] [--request-log FILE] [--request-log-mb N] [--lifetime SECONDS]
//                   [--test-control]
//   defserver keygen --out KEY.pem
//   defserver starter --changes DIR --out DIR
//   defserver easyprivacy --list FILE --date DATE --set FILE --licence FILE
//   defserver import-content FILE --type TYPE [--date DATE] [--set FILE]
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <optional>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ChangeLog.h"
#include "DefinitionServer.h"
#include "FeedbackStore.h"
#include "Signing.h"
#include "common/Base64.h"
#include "common/Text.h"
#include "DeltaEncoding.h"
#include "ContentImport.h"
#include "EasyPrivacy.h"
#include "common/DateTime.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: defserver serve --changes DIR [--languages DIR] [--feedback FILE|URI] [--key KEY.pem]\n"
    "                       [--feedback-limit N] [--feedback-at-once N] [--feedback-connections N]\n"
    "                       [--trusted-proxy ADDRESSES] [--threads N] [--delta-cache-mb N] [--host HOST] [--port N]\n"
    "                       [--port-file FILE] [--request-log FILE] [--request-log-mb N] [--lifetime SECONDS]\n"
    "                       [--test-control]\n"
    "       defserver keygen --out KEY.pem\n"
    "       defserver starter --changes DIR --out DIR\n"
    "       defserver easyprivacy --list FILE --date DATE --set FILE --licence FILE\n"
    "       defserver import-content FILE --type TYPE [--date DATE] [--set FILE]\n";

using Options = std::map<std::string, std::string>;

// The options from argv[first] on.
bool ParseOptions(int argc, char** argv, Options& options, int first = 2) {
    for (int i = first; i < argc; ++i) {
        std::string name = argv[i];
        if (name.rfind("--", 0) != 0) return false;
        if (name == "--test-control") {
            options.insert_or_assign(name, std::string("1"));
        } else if (i + 1 < argc) {
            options.insert_or_assign(name, std::string(argv[++i]));
        } else {
            return false;
        }
    }
    return true;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool WriteAll(const fs::path& path, const std::string& bytes) {
    const fs::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out.flush()) return false;
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    return !error;
}

// One line of the log, written whole in one call: the serving threads, the
// signal's and the lifetime's write while the others do, and a line put
// together piece by piece could be cut by another's.
void Say(const std::string& message) { std::cerr << ("defserver: " + message + "\n"); }

void ReportProblems(const defserver::ChangeLog& log) {
    for (const std::string& problem : log.problems) Say(problem);
}

int Fail(const std::string& message) {
    Say(message);
    return 1;
}

// A whole number from lowest to highest, in decimal digits only: "-1"
// must not wrap round to the largest number there is.
std::size_t Number(const Options& options, const std::string& option, std::size_t lowest, std::size_t highest) {
    const std::string& text = options.at(option);
    std::size_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || value > highest) {
            throw std::invalid_argument(option + " takes a whole number from " + std::to_string(lowest) + " to " +
                                        std::to_string(highest) + ", not " + text);
        }
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    if (text.empty() || value < lowest || value > highest) {
        throw std::invalid_argument(option + " takes a whole number from " + std::to_string(lowest) + " to " +
                                    std::to_string(highest) + ", not " + text);
    }
    return value;
}

// SIGTERM (systemd's stop) and SIGINT end the server the way /test/stop
// does: the requests under way are answered first. The signals are blocked
// before anything else happens, so that every thread started later has
// them blocked too and none arrives before it is waited for (a stop sent
// as soon as the port file is there is not lost), and are then taken by a
// thread of their own.
class StopOnSignal {
public:
    StopOnSignal() {
        sigemptyset(&signals_);
        sigaddset(&signals_, SIGTERM);
        sigaddset(&signals_, SIGINT);
        pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
    }
    void Watch(defserver::DefinitionServer& http) {
        waiter_ = std::thread([this, &http] {
            int signal = 0;
            if (sigwait(&signals_, &signal) == 0 && !ending_) {
                Say(std::string("stopping on ") + (signal == SIGTERM ? "SIGTERM" : "SIGINT"));
                http.Stop();
            }
        });
    }
    ~StopOnSignal() {
        if (!waiter_.joinable()) return;
        // The server ended by itself: the waiter is woken and told so.
        ending_ = true;
        pthread_kill(waiter_.native_handle(), SIGTERM);
        waiter_.join();
    }
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

private:
    sigset_t signals_{};
    std::atomic<bool> ending_{false};
    std::thread waiter_;
};

int Serve(const Options& options) {
    if (!options.count("--changes")) return std::cerr << kUsage, 2;
    StopOnSignal stopOnSignal;
    defserver::ServerOptions server;
    server.changes = options.at("--changes");
    if (options.count("--languages")) server.languages = options.at("--languages");
    if (options.count("--request-log")) server.requestLog = options.at("--request-log");
    if (options.count("--request-log-mb")) {
        server.requestLogBytes = Number(options, "--request-log-mb", 1, 1 << 20) * 1024 * 1024;
    }
    if (options.count("--feedback-limit")) {
        server.feedbackPerMinute = static_cast<int>(Number(options, "--feedback-limit", 0, 1000000));
    }
    if (options.count("--threads")) server.threads = Number(options, "--threads", 2, 10000);
    if (options.count("--feedback-at-once")) {
        server.feedbackAtOnce = Number(options, "--feedback-at-once", 1, server.threads / 2);
    } else {
        server.feedbackAtOnce = std::min(server.feedbackAtOnce, server.threads / 2);
    }
    if (options.count("--delta-cache-mb")) {
        server.deltaCacheBytes = Number(options, "--delta-cache-mb", 0, 1 << 20) * 1024 * 1024;
    }
    if (options.count("--trusted-proxy")) {
        for (const std::string& address : bastion::Split(options.at("--trusted-proxy"), ",")) {
            if (!bastion::Trim(address).empty()) server.trustedProxies.push_back(bastion::Trim(address));
        }
    }
    defserver::FeedbackStoreOptions store;
    if (options.count("--feedback-connections")) {
        store.connections = Number(options, "--feedback-connections", 1, 1000);
    }
    server.testControl = options.count("--test-control") != 0;
    // A test that publishes a set asks for it at once.
    if (server.testControl) {
        server.lookEvery = std::chrono::milliseconds(0);
        server.settle = std::chrono::seconds(0);
    }
    server.report = [](const std::string& problem) { Say(problem); };

    // What the server cannot do without stops it now, not at the first
    // request.
    std::string error;
    std::unique_ptr<defserver::FeedbackStore> feedback;
    if (options.count("--feedback")) {
        feedback = defserver::OpenFeedbackStore(options.at("--feedback"), error, store);
        if (!feedback) return Fail(error);
    }
    std::unique_ptr<defserver::Signer> signer;
    if (options.count("--key")) {
        signer = defserver::Signer::Load(options.at("--key"), error);
        if (!signer) return Fail(error);
        const std::string probe = "defserver";
        if (!defserver::VerifySignature(signer->PublicKey(), probe, signer->Sign(probe))) {
            return Fail("the key " + options.at("--key") + " does not sign");
        }
    }
    defserver::DefinitionServer http(server, std::move(feedback), std::move(signer));
    if (!http.ChangesReadable()) return Fail("cannot read the change sets in " + server.changes.string());

    const std::string host = options.count("--host") ? options.at("--host") : "127.0.0.1";
    const int port = http.Bind(host, options.count("--port") ? static_cast<int>(Number(options, "--port", 0, 65535)) : 8080);
    if (port < 0) return Fail("cannot listen on " + host);
    stopOnSignal.Watch(http);
    if (options.count("--port-file") && !WriteAll(options.at("--port-file"), std::to_string(port) + "\n")) {
        return Fail("cannot write the port file");
    }
    if (options.count("--lifetime")) {
        const std::size_t seconds = Number(options, "--lifetime", 1, 365 * 24 * 60 * 60);
        std::thread([&http, seconds] {
            std::this_thread::sleep_for(std::chrono::seconds(seconds));
            Say("stopping at the end of its lifetime");
            http.Stop();
        }).detach();
    }
    std::ostringstream serving;
    serving << "serving " << server.changes << " on http://" << host << ":" << port << "/";
    Say(serving.str());
    return http.Listen() ? 0 : 1;
}

int Keygen(const Options& options) {
    if (!options.count("--out")) return std::cerr << kUsage, 2;
    std::string error;
    const std::unique_ptr<defserver::Signer> signer = defserver::Signer::Generate(options.at("--out"), error);
    if (!signer) return Fail(error);
    // What BASTION_DEFINITION_KEY takes, printed and kept beside the key.
    const std::string publicKey = bastion::Base64Encode(signer->PublicKey()) + "\n";
    std::cout << publicKey;
    if (!WriteAll(options.at("--out") + ".pub", publicKey)) return Fail("cannot write " + options.at("--out") + ".pub");
    return 0;
}

int Starter(const Options& options) {
    if (!options.count("--changes") || !options.count("--out")) return std::cerr << kUsage, 2;
    const fs::path changes = options.at("--changes");
    const fs::path out = options.at("--out");
    const defserver::ChangeLog log = defserver::ReadChangeLog(changes);
    ReportProblems(log);
    if (!log.problems.empty()) return 1;
    fs::create_directories(out);
    for (const auto& [name, content] : defserver::StarterFiles(log)) {
        if (!WriteAll(out / name, content)) return std::cerr << "defserver: cannot write " << name << "\n", 1;
    }
    // The licences of the data travel with it.
    for (const auto& entry : fs::directory_iterator(changes)) {
        const std::string name = entry.path().filename().string();
        if (name.find("Licence") != std::string::npos && !WriteAll(out / name, ReadAll(entry.path()))) return 1;
    }
    return 0;
}

int EasyPrivacy(const Options& options) {
    for (const char* needed : {"--list", "--date", "--set", "--licence"}) {
        if (!options.count(needed)) return std::cerr << kUsage, 2;
    }
    const std::string list = ReadAll(options.at("--list"));
    const std::vector<std::string> domains = defserver::ThirdPartyTrackingDomains(list);
    if (domains.empty()) return std::cerr << "defserver: no tracking domains in the list\n", 1;
    if (!WriteAll(options.at("--set"), defserver::CookieChangeSet(domains, options.at("--date"))) ||
        !WriteAll(options.at("--licence"), defserver::LicenceNotice(list))) {
        return 1;
    }
    return 0;
}

// The hash list FILE as a change set dated DATE (today by default), to the
// file --set names or to standard output; lines left out are named on
// standard error.
int ImportContent(const std::string& list, const Options& options) {
    if (!options.count("--type")) return std::cerr << kUsage, 2;
    std::error_code error;
    if (!fs::is_regular_file(list, error)) return Fail("cannot read " + list);
    std::string date;
    if (options.count("--date")) {
        const std::optional<bastion::DateTime> given = bastion::ParseGeneralDate(options.at("--date"));
        if (!given) return Fail("the date " + options.at("--date") + " is not a date such as 3/17/2006");
        date = bastion::FormatGeneralDate(*given);
    } else {
        const std::time_t now = std::time(nullptr);
        std::tm utc{};
        gmtime_r(&now, &utc);
        date = std::to_string(utc.tm_mon + 1) + "/" + std::to_string(utc.tm_mday) + "/" +
               std::to_string(utc.tm_year + 1900);
    }
    const defserver::ContentImport import = defserver::ImportContentList(ReadAll(list), options.at("--type"), date);
    for (const std::string& problem : import.problems) std::cerr << "defserver: " << list << ": " << problem << "\n";
    if (import.added == 0) return Fail("no content definitions in " + list);
    if (options.count("--set")) {
        if (!WriteAll(options.at("--set"), import.set)) return Fail("cannot write " + options.at("--set"));
    } else {
        std::cout << import.set;
    }
    std::cerr << "defserver: " << import.added << " content definitions\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (argc >= 3 && std::string(argv[1]) == "import-content") {
        if (!ParseOptions(argc, argv, options, 3)) return std::cerr << kUsage, 2;
        try {
            return ImportContent(argv[2], options);
        } catch (const std::exception& error) {
            return Fail(error.what());
        }
    }
    if (argc < 2 || !ParseOptions(argc, argv, options)) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        const std::string command = argv[1];
        if (command == "serve") return Serve(options);
        if (command == "keygen") return Keygen(options);
        if (command == "starter") return Starter(options);
        if (command == "easyprivacy") return EasyPrivacy(options);
    } catch (const std::exception& error) {
        std::cerr << "defserver: " << error.what() << "\n";
        return 1;
    }
    std::cerr << kUsage;
    return 2;
}
