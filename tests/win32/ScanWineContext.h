// The real facilities of the machine with an empty scan state, safety and
// exclusion list, and a scratch data folder: what a Wine test of a scan
// hands to the code under test. The results are read as the scan added
// them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "WineTestSupport.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionTables.h"
#include "definitions/ExclusionList.h"
#include "definitions/PathTokens.h"
#include "definitions/SafetyList.h"
#include "platform/Platform.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Crypto.h"
#include "platform/win32/Win32FolderWatcher.h"
#include "platform/win32/Win32InstanceLock.h"
#include "platform/win32/Win32Internet.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32SystemRestore.h"
#include "scan/ScanContext.h"
#include "scan/state/ScanState.h"
#include "support/ScriptedEventPump.h"

namespace bastion::win32::test {

class ScanWineContext {
public:
    ScanWineContext() : tokens(PathTokens::Resolve(shell)) {}
    ScanWineContext(const ScanWineContext&) = delete;
    ScanWineContext& operator=(const ScanWineContext&) = delete;

    // The lines, shifted as definition files store them, into the scratch
    // data folder.
    void WriteDefinitions(std::string_view file, const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines) bytes += EncodeDefinitionLine(codePage, line) + "\r\n";
        ASSERT_TRUE(files.WriteFile(DataFilePath(dataFolder.Path(), file), bytes));
    }

    // A scan begins: a cookie found is one to remove.
    void BeginScan() { state.Begin(silent); }
    const std::vector<Detection>& Detections() const { return state.Results().detections; }
    const std::vector<ActivityEntry>& Activity() const { return state.Results().activity; }
    // The path of each detection of a file or folder, in the order found.
    std::vector<std::string> PathsFound() const {
        std::vector<std::string> paths;
        for (const Detection& detection : Detections()) paths.push_back(std::get<FileItem>(detection.item).path);
        return paths;
    }

    ScanContext Context() {
        return ScanContext{files, codePage, system, dataFolder.Path(), tokens,   safety,   exclusions,
                           state, pump,     tables, registry,          shell,    processes};
    }

    Win32FileSystem files;
    Win32Shell shell;
    Win32Registry registry;
    Win32Processes processes;
    Win32SystemInfo system;
    Win32CodePage codePage;
    PathTokens tokens;
    ScratchFolder dataFolder;
    SafetyList safety;
    ExclusionList exclusions;
    DefinitionTables tables;
    ScanProgress silent;
    ScanState state;
    testing::ScriptedEventPump pump;
    Win32Internet internet;
    Win32SystemRestore restore;
    Win32InstanceLock instances;
    Win32Crypto crypto;
    Win32FolderWatcher watcher;

    // Every facility, with the clock given, as the program's services take
    // them.
    platform::Platform Machine(platform::Clock& clock) {
        return {registry, files, shell, processes, system, internet, restore, clock, codePage, instances, crypto, watcher};
    }
};

}  // namespace bastion::win32::test
