// Loading the file and directory definitions into the tables the folder
// walk matches against.
#pragma once

#include "scan/ScanContext.h"

namespace bastion {

// Fills the tables from "FileDefinition.dat" and "DirectoryDefinition.dat"
// once per run: when the tables exist already it returns at once. A load
// that read both files whole saves the tables' image, which later runs map
// instead while it holds what the files would load (TablesImage). Rows the
// safety list protects are left out; "[drive]" stays in the stored folder
// for the matcher to fill with the walked item's drive. While it reads, the
// progress hears that it loads (no Pause or Stop meanwhile) and the status
// line says so; a stop request ends the
// load early and the rows read so far stay. False when a file is there but
// could not be read to its end: the tables are then left empty and not
// loaded, for the next scan to read them again.
bool LoadDefinitions(ScanContext& context);

}  // namespace bastion
