// "DefinitionTables.bin" damaged: the image a load saved, with the input's
// bytes written over its body (each three bytes a place and the byte put
// there) and its checksum made right again, so that the damage gets past the
// checksum to the checks of the tables' structure. The next load must refuse
// it or read tables whose every look-up stays within the image; walked
// places are then matched against them.
#include <cstring>

#include "definitions/DataFiles.h"
#include "definitions/TablesImage.h"
#include "harness/FuzzMachine.h"
#include "harness/FuzzTarget.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/files/FolderMatchers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bastion;
    fuzz::FuzzMachine machine;
    machine.Use64BitWindows();
    machine.WriteDefinitionFile(datafile::kFileDefinitions,
                                "spy.dll=Spy|[progfil]SpyCo|Adware\nroot.exe=Root|[drive]\\Spy\\\n"
                                "plain.dll=Plain\nshared.dll=One|[windir]\nshared.dll=Two|[system]|TYPE\n");
    machine.WriteDefinitionFile(datafile::kDirectoryDefinitions,
                                "SpyCo=Spy Dir|[progfil]SpyCo|Adware\nRoot=Root Dir|[drive]\\SpyDir\n"
                                "Win=Win Dir|[windir]SpyDir\n");
    ScanContext context = machine.Context();
    LoadDefinitions(context);

    const std::string path = DataFilePath(machine.dataFolder, datafile::kTablesImage);
    std::optional<std::string> image = machine.machine.files.ReadFile(path);
    FUZZ_CHECK(image && image->size() > 16);
    const std::size_t body = image->size() - 16;
    for (std::size_t i = 0; i + 3 <= size; i += 3) {
        const std::size_t at = (static_cast<std::size_t>(data[i]) | static_cast<std::size_t>(data[i + 1]) << 8) % body;
        (*image)[16 + at] = static_cast<char>(data[i + 2]);
    }
    const std::uint64_t sum = TablesImageChecksum(std::string_view(*image).substr(16));
    std::memcpy(image->data() + 8, &sum, sizeof sum);
    machine.machine.files.WriteFile(path, *image);

    machine.tables.Discard();
    LoadDefinitions(context);
    for (const char* file : {"C:\\Program Files\\SpyCo\\spy.dll", "C:\\Program Files (x86)\\SpyCo\\spy.dll",
                             "D:\\Spy\\root.exe", "C:\\WINDOWS\\shared.dll", "C:\\x\\plain.dll", "C:\\x\\other.dll"}) {
        MatchFoundFile(context, file);
    }
    for (const char* folder : {"C:\\Program Files\\SpyCo\\", "E:\\SpyDir\\", "C:\\WINDOWS\\SpyDir\\", "C:\\x\\"}) {
        MatchFoundDirectory(context, folder);
    }
    return 0;
}
