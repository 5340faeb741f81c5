// "DirectoryDefinition.dat": the lines through the loader into the
// directory table, the table through the folder-walk matchers (indexed and
// row by row alike), and the lines through the known-location directory
// scan.
#include "harness/FuzzTarget.h"
#include "harness/TableDefinitions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bastion::fuzz::RunTableDefinitions(bastion::fuzz::AsBytes(data, size), bastion::fuzz::TableKind::Directories);
    return 0;
}
