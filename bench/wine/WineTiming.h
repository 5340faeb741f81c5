// What the Wine timing programs share: a pump that lets nothing run (no
// window exists) and the performance counter in milliseconds.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "../BenchDefinitions.h"
#include "common/CodePage.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "platform/FileSystem.h"
#include "platform/win32/WindowsApi.h"
#include "ui/EventPump.h"

namespace bastion::bench {

class IdlePump : public ui::EventPump {
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
