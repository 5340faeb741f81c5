// The folder of change sets as a running server reads it: again at every
// request, so that a vendor publishes by adding a file, but each file parsed
// only when it is new, and each problem reported once, when it is first
// met. Beyond the rules of a single set:
//   - a file is read only once it has not been written for a while (five
//     seconds): one still being copied would be served in part, and its
//     clients would never be sent the rest;
//   - a set once published is never read again: a later change to its file,
//     or its removal, is reported as an error, and the set is served as it
//     was published (clients past its date hold it already);
//   - a set dated more than a day ahead of the server's clock is refused
//     (until that day is near);
//   - a set dated before one already published (read earlier, or before it
//     in name order) is served, with a warning: clients past its date will
//     not receive it.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ChangeLog.h"

namespace defserver {

class ChangeFolder {
public:
    // report receives every problem and warning once; now is the server's
    // clock; settle is how long a file must stay unwritten before it is
    // read.
    ChangeFolder(std::filesystem::path folder, std::function<void(const std::string&)> report,
                 std::function<bastion::DateTime()> now, std::chrono::seconds settle = kSettle);

    static constexpr std::chrono::seconds kSettle{5};

    // The sets to serve, oldest first; nullopt when the folder cannot be
    // listed (missing, unreadable): the server then has no date to give.
    std::optional<ChangeLog> Read();
    // Whether Read would now serve anything else than it last did: a set
    // added, taken away or written, or one refused for its date come due.
    // Cheaper than Read, which makes the whole log anew.
    bool Changed();

    // The newest time the folder or a change set in it was written, as the
    // last Read found it.
    std::filesystem::file_time_type LastWritten();

private:
    struct Parsed {
        std::filesystem::file_time_type written;
        std::uintmax_t size = 0;
        bool valid = false;
        // Served: from now on the file is never read again.
        bool published = false;
        ChangeSet set;
        std::vector<std::string> problems;
    };

    struct Listed {
        std::filesystem::path path;
        std::filesystem::file_time_type written;
        std::uintmax_t size = 0;
    };
    // The change sets in the folder, by name; nullopt (reported) when it
    // cannot be listed.
    std::optional<std::vector<Listed>> List();
    void Report(const std::string& message);

    const std::filesystem::path folder_;
    const std::function<void(const std::string&)> report_;
    const std::function<bastion::DateTime()> now_;
    const std::chrono::seconds settle_;
    std::mutex lock_;
    std::map<std::string, Parsed> files_;
    std::set<std::string> reported_;
    // The newest date served so far.
    std::optional<bastion::DateTime> published_;
    std::filesystem::file_time_type lastWritten_{};
};

// The server's clock as a date.
bastion::DateTime LocalNow();

}  // namespace defserver
