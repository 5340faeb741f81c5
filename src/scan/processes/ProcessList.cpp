#include "scan/processes/ProcessList.h"

#include "common/Text.h"

namespace bastion {

namespace {

void Append(ProcessList& list, std::string_view filter, std::uint32_t id, std::string name) {
    if (name.empty()) return;
    if (!filter.empty() && !ContainsIgnoreCase(filter, name)) return;
    list.names.push_back(std::move(name));
    list.ids.push_back(id);
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
            Append(list, filter, id, processes.BaseName(id));
        }
    } else {
        auto entries = processes.Snapshot();
        if (!entries) return -1;
        for (const platform::ProcessEntry& entry : *entries) {
            Append(list, filter, entry.id, UpToNul(entry.exeFile));
        }
    }
    return static_cast<int>(list.Count());
}

}  // namespace bastion
