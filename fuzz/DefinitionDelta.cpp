// The incremental update the definition server sends: any bytes parsed as a
// delta, planned for every definition file and applied twice to a small
// file; a second application must change nothing and no written line may
// hold a line break.
#include "harness/FuzzTarget.h"
#include "update/DefinitionDelta.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bastion::ExerciseDefinitionDelta(bastion::fuzz::AsBytes(data, size));
    return 0;
}
