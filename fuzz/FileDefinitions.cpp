// "FileDefinition.dat" as a definition server or a damaged disk may leave
// it: the lines through the loader into the file table, the table through
// the folder-walk matchers (indexed and row by row alike), and the lines
// through the known-location file scan.
#include "harness/FuzzTarget.h"
#include "harness/TableDefinitions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bastion::fuzz::RunTableDefinitions(bastion::fuzz::AsBytes(data, size), bastion::fuzz::TableKind::Files);
    return 0;
}
