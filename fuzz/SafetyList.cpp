// "Safety.dat": the lines through the safety list's loader, then the list
// asked about each of its own entries and about the usual places, and used
// by the definition loader as a scan uses it.
#include "harness/FuzzTarget.h"
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/SafetyListLoader.h"
#include "scan/files/DefinitionLoader.h"
#include "harness/FuzzMachine.h"

using namespace bastion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzMachine machine;
    machine.WriteDefinitionFile(datafile::kSafety, fuzz::AsBytes(data, size));
    const bool stop = false;
    LoadSafetyList(machine.machine.files, Windows1252(), machine.dataFolder, machine.tokens, stop, machine.safety);

    for (const std::string& entry : machine.safety.Entries()) {
        machine.safety.IsProtectedPath(entry);
        machine.safety.IsProtectedPath(ToUpper(entry) + "\\");
        machine.safety.IsProtectedPath(" D" + entry.substr(std::min<std::size_t>(entry.size(), 1)));
    }
    for (std::string_view place : {"", " ", "\\", "/", "C:\\", "HKEY_LOCAL_MACHINE\\", "C:\\WINDOWS\\system32\\",
                                   "c:\\windows\\system32\\kernel32.dll", "HKEY_CURRENT_USER\\Software\\SpyCo"}) {
        machine.safety.IsProtectedPath(place);
    }

    machine.WriteDefinitionFile(datafile::kFileDefinitions,
                                "spy.dll=Spy|[windir]system32|Spyware\nkernel32.dll=Fake|[system]|TYPE\n"
                                "spy.exe=SpyCo|[progfil]SpyCo|Adware\ntoolbar.dll=Bar|[drive]\\Temp|TYPE");
    machine.WriteDefinitionFile(datafile::kDirectoryDefinitions,
                                "SpyCo=SpyCo|[progfil]SpyCo|Adware\nWin=Win|[windir]|Spyware");
    ScanContext context = machine.Context();
    LoadDefinitions(context);
    return 0;
}
