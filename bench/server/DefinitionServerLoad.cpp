// One definition server instance under load, on 127.0.0.1 only: the update
// check of programs 30 days behind (the date request, then the delta), and
// feedback stored in the database that --feedback names, every answer
// "Added" counted in it afterwards. With PostgreSQL, then the date request
// while 64 clients send feedback to a database that has stopped answering
// (a relay in front of it holds everything). Bounded: each part ends after
// its requests or its seconds, whichever comes first.
//
//   bench_DefinitionServerLoad --feedback URI|FILE [--connections 16] [--seconds 10]
//                              [--requests 50000] [--feedback-connections 8] [--server PATH]
//
// The server is the program the build made (or --server), started with a
// change log of 90 daily sets and a key of its own, so that every delta is
// signed as a vendor's would be. Client and server share this machine's
// processors: the figures are those of both together.
#include <fcntl.h>
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "FeedbackStore.h"
#include "FreezingProxy.h"
#include "Signing.h"
#include "common/DateTime.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDays = 90;
constexpr int kDefinitionsADay = 25;
constexpr int kDaysBehind = 30;
constexpr std::size_t kWarmUp = 200;

struct Figures {
    std::size_t answered = 0;  // with the expected answer
    std::size_t failed = 0;
    double seconds = 0;
    double p50 = 0;
    double p99 = 0;
};

// Requests from `connections` clients, each on a connection it keeps, each
// sending its next request when the last is answered.
Figures Load(int port, std::size_t connections, std::size_t requests, double seconds,
             const std::function<std::string(std::size_t)>& target,
             const std::function<bool(const httplib::Result&)>& expected) {
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> answered{0};
    std::atomic<std::size_t> failed{0};
    std::vector<std::vector<double>> latencies(connections);
    const Clock::time_point start = Clock::now();
    const Clock::time_point end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::vector<std::thread> clients;
    for (std::size_t c = 0; c < connections; ++c) {
        clients.emplace_back([&, c] {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            client.set_tcp_nodelay(true);
            client.set_read_timeout(std::chrono::seconds(30));
            for (std::size_t i = next++; i < requests && Clock::now() < end; i = next++) {
                const Clock::time_point sent = Clock::now();
                const httplib::Result result = client.Get(target(i).c_str());
                latencies[c].push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
                (expected(result) ? answered : failed)++;
            }
        });
    }
    for (std::thread& client : clients) client.join();
    Figures figures;
    figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    figures.answered = answered;
    figures.failed = failed;
    std::vector<double> all;
    for (const auto& each : latencies) all.insert(all.end(), each.begin(), each.end());
    if (!all.empty()) {
        auto at = [&](double share) {
            auto nth = all.begin() + static_cast<std::ptrdiff_t>(share * static_cast<double>(all.size() - 1));
            std::nth_element(all.begin(), nth, all.end());
            return *nth;
        };
        figures.p50 = at(0.50);
        figures.p99 = at(0.99);
    }
    return figures;
}

void Print(const std::string& name, const Figures& figures) {
    std::printf("  %-38s %9zu %9.0f %8.2f %8.2f %7zu\n", name.c_str(), figures.answered,
                static_cast<double>(figures.answered) / std::max(figures.seconds, 1e-9), figures.p50, figures.p99,
                figures.failed);
}

std::string Today(int daysAgo) {
    const std::time_t now = std::time(nullptr) - static_cast<std::time_t>(daysAgo) * 24 * 60 * 60;
    std::tm local{};
    ::localtime_r(&now, &local);
    return bastion::FormatGeneralDate(bastion::DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, 0, 0, 0});
}

// Percent-encoded, all but letters, digits and "-._~".
std::string Escaped(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

class ServerProcess {
public:
    ServerProcess(const std::string& program, const std::vector<std::string>& arguments, const fs::path& log) {
        std::vector<char*> argv;
        std::vector<std::string> all = {program};
        all.insert(all.end(), arguments.begin(), arguments.end());
        for (std::string& each : all) argv.push_back(each.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ServerProcess() { Stop(); }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    bool Running() {
        return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0;
    }
    void Stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> options = {{"--connections", "16"}, {"--seconds", "10"},
                                                  {"--requests", "50000"}, {"--feedback-connections", "8"},
                                                  {"--server", BASTION_DEFSERVER_PROGRAM}};
    for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
    if (argc % 2 == 0 || !options.count("--feedback")) {
        std::cerr << "usage: bench_DefinitionServerLoad --feedback URI|FILE [--connections N] [--seconds S]"
                     " [--requests N] [--feedback-connections N] [--server PATH]\n";
        return 2;
    }
    const std::size_t connections = std::stoul(options["--connections"]);
    const double seconds = std::stod(options["--seconds"]);
    const std::size_t requests = std::stoul(options["--requests"]);
    const std::string feedback = options["--feedback"];

    char pattern[] = "/tmp/defserver-load.XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const fs::path root = pattern;
    fs::create_directories(root / "changes");
    for (int day = kDays - 1; day >= 0; --day) {
        const fs::path path = root / "changes" / ("day-" + std::to_string(1000 + kDays - day) + ".changes");
        {
            std::ofstream set(path);
            set << "DATE " << Today(day) << "\n";
            for (int i = 0; i < kDefinitionsADay; ++i) {
                set << "ADD FILE load-" << day << "-" << i << ".exe=Load.Threat." << day << "." << i
                    << "|[windir]|Adware\n";
            }
        }
        // Written whole a while ago, as a set renamed into the folder: the
        // server reads it at once.
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(1));
    }
    std::string error;
    if (!defserver::Signer::Generate((root / "key.pem").string(), error)) return std::cerr << error << "\n", 1;

    int port = 0;
    {
        ServerProcess server(options["--server"],
                             {"serve", "--changes", (root / "changes").string(), "--key", (root / "key.pem").string(),
                              "--feedback", feedback, "--feedback-limit", "0", "--feedback-connections",
                              options["--feedback-connections"], "--host", "127.0.0.1", "--port", "0", "--port-file",
                              (root / "port").string()},
                             root / "server.log");
        for (int i = 0; i < 300 && port == 0 && server.Running(); ++i) {
            std::ifstream("" + (root / "port").string()) >> port;
            if (port == 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (port == 0) {
            std::ifstream log(root / "server.log");
            std::cerr << "the server did not start:\n" << log.rdbuf();
            fs::remove_all(root);
            return 1;
        }

        const std::string query = "?prog=Bastion&comp=Bastion%20Software";
        const std::string dateRequest = "/asp/currentDateNEW.asp" + query;
        const std::string behind = Today(kDaysBehind);
        const std::string deltaRequest = "/asp/getDefsNEW.asp" + query + "&date=" + Escaped(behind);
        const std::string run = "load " + std::to_string(std::time(nullptr)) + "-" + std::to_string(::getpid()) + " #";
        auto ok = [](const httplib::Result& result) { return result && result->status == 200; };
        auto added = [](const httplib::Result& result) { return result && result->status == 200 && result->body == "Added"; };

        httplib::Client probe("127.0.0.1", port);
        const auto delta = probe.Get(deltaRequest.c_str());
        // The signed answer is DATE|date|issued and its signature.
        const std::string signedDate = probe.Get(dateRequest.c_str())->body;
        const std::size_t dateAt = signedDate.find('|') + 1;
        const std::string today = signedDate.substr(dateAt, signedDate.find('|', dateAt) - dateAt);
        std::printf("defserver under load: one instance on 127.0.0.1:%d, %zu connections, signed answers\n", port,
                    connections);
        std::printf("  change log: %d daily sets of %d definitions up to %s; a program 30 days behind (%s)\n"
                    "  gets %d definitions, %zu bytes\n",
                    kDays, kDefinitionsADay, today.c_str(), behind.c_str(), kDaysBehind * kDefinitionsADay,
                    delta ? delta->body.size() : 0);
        std::printf("  %-38s %9s %9s %8s %8s %7s\n", "request", "answered", "req/s", "p50 ms", "p99 ms", "failed");
        const Figures warm = Load(port, connections, kWarmUp, seconds,
                                  [&](std::size_t i) { return i % 2 ? dateRequest : deltaRequest; }, ok);
        if (warm.failed > 0) std::printf("  (warm-up: %zu failed)\n", warm.failed);
        Print("date (currentDateNEW.asp)", Load(port, connections, requests, seconds,
                                                [&](std::size_t) { return dateRequest; }, ok));
        Print("delta, 30 days behind (getDefsNEW.asp)",
              Load(port, connections, requests, seconds, [&](std::size_t) { return deltaRequest; }, ok));
        const Figures stored = Load(port, connections, requests, seconds,
                                    [&](std::size_t i) {
                                        return "/asp/getData.asp?data=" + Escaped(run + std::to_string(i));
                                    },
                                    added);
        Print("feedback (getData.asp)", stored);
        server.Stop();

        // Every "Added" in the database once, and nothing else of this run.
        const std::unique_ptr<defserver::FeedbackStore> store = defserver::OpenFeedbackStore(feedback, error);
        if (!store) return std::cerr << error << "\n", 1;
        std::size_t rows = 0;
        std::set<std::string> distinct;
        for (const auto& row : store->Rows("data")) {
            if (row.at(0).rfind(run, 0) != 0) continue;
            ++rows;
            distinct.insert(row.at(0));
        }
        const std::size_t lost = stored.answered > distinct.size() ? stored.answered - distinct.size() : 0;
        std::printf("  feedback in %s: %zu answered \"Added\", %zu rows stored, %zu lost, %zu doubled\n",
                    defserver::IsPostgresUri(feedback) ? "PostgreSQL" : "SQLite", stored.answered, rows, lost,
                    rows - distinct.size());
        bool stalledOk = true;
        if (defserver::IsPostgresUri(feedback)) {
            // The same database behind the relay, for a server of its own.
            const std::size_t at = feedback.find('@') + 1;
            const std::size_t colon = feedback.find(':', at);
            const std::size_t slash = feedback.find('/', at);
            bench::FreezingProxy relay(std::stoi(feedback.substr(colon + 1, slash - colon - 1)));
            const std::string relayed = feedback.substr(0, at) + "127.0.0.1:" + std::to_string(relay.Port()) +
                                        feedback.substr(slash);
            ServerProcess stalled(options["--server"],
                                  {"serve", "--changes", (root / "changes").string(), "--key",
                                   (root / "key.pem").string(), "--feedback", relayed, "--feedback-limit", "0",
                                   "--host", "127.0.0.1", "--port", "0", "--port-file", (root / "port2").string()},
                                  root / "server2.log");
            int stalledPort = 0;
            for (int i = 0; i < 300 && stalledPort == 0 && stalled.Running(); ++i) {
                std::ifstream("" + (root / "port2").string()) >> stalledPort;
                if (stalledPort == 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            if (stalledPort == 0) {
                std::cerr << "the server behind the relay did not start\n";
                fs::remove_all(root);
                return 1;
            }
            relay.Freeze(true);
            Figures reports;
            std::thread reporting([&] {
                reports = Load(stalledPort, 64, requests, seconds,
                               [&](std::size_t i) { return "/asp/getData.asp?data=" + Escaped(run + "stalled " + std::to_string(i)); },
                               added);
            });
            const Figures dates = Load(stalledPort, connections, requests, seconds,
                                       [&](std::size_t) { return dateRequest; }, ok);
            reporting.join();
            relay.Freeze(false);
            std::printf("  the database stops answering; 64 clients send feedback meanwhile:\n");
            Print("date (currentDateNEW.asp)", dates);
            // Every one refused (503) at once or after its bounded wait.
            Print("feedback refused (not stored)", Figures{reports.failed, reports.answered, reports.seconds,
                                                           reports.p50, reports.p99});
            stalled.Stop();
            stalledOk = dates.failed == 0 && dates.p99 <= 50;
        }
        fs::remove_all(root);
        return lost == 0 && rows == distinct.size() && stalledOk ? 0 : 1;
    }
}
