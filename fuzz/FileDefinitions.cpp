// "FileDefinition.dat" as a definition server or a damaged disk may leave
// it: the lines through the loader into the file table, the table through
// the folder-walk matchers (indexed and row by row alike), and the lines
// through the known-location file scan.
#include "harness/FuzzTarget.h"
#include "definitions/DataFiles.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/files/KnownLocations.h"
#include "harness/FuzzMachine.h"
#include "harness/MatcherCheck.h"

using namespace bastion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzMachine machine;
    machine.WriteDefinitionFile(datafile::kFileDefinitions, fuzz::AsBytes(data, size));
    ScanContext context = machine.Context();
    LoadDefinitions(context);
    FUZZ_CHECK(machine.tables.Files().Size() <= size + 1);
    fuzz::CheckMatchersAgree(machine, fuzz::WalkedKind::Files);
    ScanKnownFileLocations(context);
    return 0;
}
