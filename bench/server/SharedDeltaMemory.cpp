// The peak memory of one instance while 64 programs fetch the same large
// delta at once (5.2 MB, 60,000 definitions): the server makes the delta
// once and sends every request from that one copy, so its peak should grow
// by no more than twice the delta. Prints the growth; fails above that.
//
//   bench_SharedDeltaMemory [--server PATH]
//
// Build it with the `native` preset: under AddressSanitizer the allocator's
// own bookkeeping grows with the threads and the figure means little.
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Signing.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The most memory the process has held so far, in bytes (0 when it cannot
// be read).
std::size_t PeakMemory(pid_t process) {
    std::ifstream status("/proc/" + std::to_string(process) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stoul(line.substr(6)) * 1024;
    }
    return 0;
}

// 64 clients at once, each fetching its own target; what each received.
std::vector<std::size_t> Together(int port, const std::function<std::string(int)>& target) {
    std::vector<std::size_t> received(64, 0);
    std::vector<std::thread> clients;
    for (int i = 0; i < 64; ++i) {
        clients.emplace_back([&, i] {
            httplib::Client client("127.0.0.1", port);
            client.set_read_timeout(std::chrono::seconds(60));
            client.Get(target(i).c_str(), [&received, i](const char*, std::size_t length) {
                received[i] += length;
                return true;
            });
        });
    }
    for (std::thread& client : clients) client.join();
    return received;
}

}  // namespace

int main(int argc, char** argv) {
    std::string program = BASTION_DEFSERVER_PROGRAM;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--server") program = argv[i + 1];
    }
    const fs::path root = fs::temp_directory_path() / ("bastion-shared-delta-" + std::to_string(::getpid()));
    fs::create_directories(root / "changes");
    {
        std::ofstream set(root / "changes" / "1.changes", std::ios::binary);
        set << "DATE 3/17/2006\n";
        for (int i = 0; i < 60000; ++i) {
            set << "ADD FILE large-delta-" << i << ".exe=Large.Delta.Threat." << i << "|[windir]System32|Adware\n";
        }
    }
    // Written whole a while ago, as a set renamed into the folder.
    fs::last_write_time(root / "changes" / "1.changes", fs::file_time_type::clock::now() - std::chrono::minutes(1));
    std::string error;
    if (!defserver::Signer::Generate((root / "key.pem").string(), error)) return std::fprintf(stderr, "%s\n", error.c_str()), 1;

    std::vector<std::string> arguments = {program, "serve", "--changes", (root / "changes").string(), "--key",
                                          (root / "key.pem").string(), "--port", "0", "--port-file",
                                          (root / "port").string(), "--lifetime", "300"};
    std::vector<char*> argumentPointers;
    for (std::string& each : arguments) argumentPointers.push_back(each.data());
    argumentPointers.push_back(nullptr);
    pid_t server = -1;
    if (::posix_spawn(&server, program.c_str(), nullptr, nullptr, argumentPointers.data(), environ) != 0) {
        return std::fprintf(stderr, "cannot start %s\n", program.c_str()), 1;
    }
    int port = 0;
    for (int i = 0; i < 600 && port == 0; ++i) {
        std::ifstream(root / "port") >> port;
        if (port == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (port == 0) {
        ::kill(server, SIGTERM);
        ::waitpid(server, nullptr, 0);
        fs::remove_all(root);
        return std::fprintf(stderr, "the server did not start\n"), 1;
    }

    // Each of 64 server threads has answered once before the baseline:
    // their stacks are not what is measured.
    Together(port, [](int) { return std::string("/asp/currentDateNEW.asp?prog=a&comp=b"); });
    const std::size_t before = PeakMemory(server);
    // Each with its own date text, all after the same set.
    const std::vector<std::size_t> sizes = Together(port, [](int i) {
        return "/asp/getDefsNEW.asp?prog=a&comp=b&date=3%2F16%2F2006%20" + std::to_string(1 + i / 50) + "%3A" +
               std::to_string(10 + i % 50);
    });
    const std::size_t after = PeakMemory(server);
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
    fs::remove_all(root);

    const std::size_t body = sizes[0];
    if (body == 0 || before == 0 || std::count(sizes.begin(), sizes.end(), body) != 64) {
        return std::fprintf(stderr, "not every client had the whole delta\n"), 1;
    }
    const double growth = static_cast<double>(after - before) / static_cast<double>(body);
    std::printf("64 concurrent requests for a delta of %.1f MB: peak memory grew by %.1f MB (%.2f deltas)\n",
                static_cast<double>(body) / 1e6, static_cast<double>(after - before) / 1e6, growth);
    return growth <= 2.0 ? 0 : 1;
}
