// What the Wine timing programs share: a pump that lets nothing run (no
// window exists) and the performance counter in milliseconds.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "../BenchDefinitions.h"
#include "common/CodePage.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "platform/FileSystem.h"
#include "platform/win32/WindowsApi.h"
#include "services/waits/EventPump.h"

namespace bastion::bench {

class IdlePump : public services::EventPump {
public:
    void Pump() override {}
    void PumpNow() override {}
};

inline double Milliseconds(const std::function<void()>& work) {
    LARGE_INTEGER frequency{}, start{}, end{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    work();
    ::QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Wall time and the process's own processor time (user and kernel), in
// milliseconds. The processor time suffers less from other work on the
// machine; what the Wine server does for the process is not in it.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

inline double ProcessCpuMs() {
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) {
        return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10'000.0;
}

inline Timing Time(const std::function<void()>& work) {
    const double cpuBefore = ProcessCpuMs();
    Timing timing;
    timing.wall = Milliseconds(work);
    timing.cpu = ProcessCpuMs() - cpuBefore;
    return timing;
}

// The generated file and directory definitions, as the definition files
// store them, in the data folder.
inline void WriteDefinitionFiles(platform::FileSystem& files, const CodePage& codePage, const std::string& folder,
                                 int lines) {
    for (auto [name, generated] : {std::pair{datafile::kFileDefinitions, FileDefinitionLines(lines)},
                                   std::pair{datafile::kDirectoryDefinitions, DirectoryDefinitionLines(lines)}}) {
        std::string bytes;
        for (const std::string& line : generated) bytes += EncodeDefinitionLine(codePage, line) + "\r\n";
        files.WriteFile(DataFilePath(folder, name), bytes);
    }
}

}  // namespace bastion::bench
