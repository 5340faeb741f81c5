// "RegistryDefinition.dat": every line through the registry scan, against a
// registry that holds some of the keys and values the seeds name.
#include "harness/FuzzTarget.h"
#include "definitions/DataFiles.h"
#include "scan/registry/RegistryScan.h"
#include "harness/FuzzMachine.h"

using namespace bastion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzMachine machine;
    machine.WriteDefinitionFile(datafile::kRegistryDefinitions, fuzz::AsBytes(data, size));
    ScanContext context = machine.Context();
    ScanRegistryDefinitions(context);
    return 0;
}
