#include "scan/processes/ProcessList.h"

#include "common/PathParts.h"
#include "common/Text.h"

namespace bastion {

namespace {

// The two processes of the system that run no program file.
constexpr std::uint32_t kIdleProcessId = 0;
constexpr std::uint32_t kSystemProcessId = 2;

void Append(ProcessList& list, std::string_view filter, std::uint32_t id, std::string name, std::string path) {
    if (name.empty()) return;
    if (!filter.empty() && !ContainsIgnoreCase(filter, name)) return;
    list.names.push_back(std::move(name));
    list.ids.push_back(id);
    list.paths.push_back(std::move(path));
}

// The snapshot's name is a fixed buffer on some systems: what follows its
// terminator is not part of the name.
std::string UpToNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace

int GetProcessList(platform::Processes& processes, ProcessList& list, std::string_view filter,
                   bool useProcessIds) {
    list = {};
    if (useProcessIds) {
        auto ids = processes.EnumerateIds();
        if (!ids) return -1;
        for (std::uint32_t id : *ids) {
            if (id == kIdleProcessId) {
                Append(list, filter, id, "System Idle Process", {});
            } else if (id == kSystemProcessId) {
                Append(list, filter, id, "System", {});
            } else if (std::optional<std::string> path = processes.ImagePath(id)) {
                Append(list, filter, id, FileNameOfPath(*path), *path);
            }
        }
    } else {
        auto entries = processes.Snapshot();
        if (!entries) return -1;
        for (const platform::ProcessEntry& entry : *entries) {
            Append(list, filter, entry.id, UpToNul(entry.exeFile), {});
        }
    }
    return static_cast<int>(list.Count());
}

}  // namespace bastion
