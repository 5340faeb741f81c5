#include "harness/TableDefinitions.h"

#include <algorithm>

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "harness/FuzzMachine.h"
#include "harness/FuzzTarget.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/files/FolderMatchers.h"
#include "scan/files/KnownLocations.h"
#include "support/RowByRowMatchers.h"

namespace bastion::fuzz {

namespace {

// Enough rows to reach the odd ones of a short input, few enough that an
// input of many lines stays quick.
constexpr std::size_t kRowsWalked = 24;

// Where the item of a row's place would be met: in the row's case and
// upper-cased, and where the row says "[drive]", on two drives.
std::vector<std::string> Places(const DefinitionRow& row, TableKind kind) {
    std::vector<std::string> places;
    for (std::string_view drive : {"c:", "D:"}) {
        std::string path = ReplaceAllIgnoreCase(row.folder, "[drive]", drive);
        if (kind == TableKind::Files) {
            path += row.name;
        } else if (!EndsWith(path, "\\")) {
            path += '\\';
        }
        places.push_back(ToUpper(path));
        places.push_back(std::move(path));
    }
    return places;
}

void CheckMatchersAgree(FuzzMachine& machine, TableKind kind) {
    ScanProgress silent;
    ScanState referenceState;
    referenceState.Begin(silent);
    ScanContext indexed = machine.Context();
    ScanContext reference{machine.machine.files, indexed.codePage,     machine.machine.system,
                          machine.dataFolder,    machine.tokens,       machine.safety,
                          machine.exclusions,    referenceState,       machine.pump,
                          machine.tables,        machine.machine.registry, machine.machine.shell,
                          machine.machine.processes};
    const DefinitionTable& table =
        kind == TableKind::Files ? machine.tables.Files() : machine.tables.Directories();
    const std::size_t rows = std::min(table.Size(), kRowsWalked);
    for (std::size_t row = 0; row < rows; ++row) {
        std::vector<std::string> places;
        table.ForEachPlace(row, [&](const DefinitionRow& place) {
            for (std::string& path : Places(place, kind)) places.push_back(std::move(path));
        });
        for (const std::string& place : places) {
            if (kind == TableKind::Files) {
                MatchFoundFile(indexed, place);
                testing::RowByRowMatchFoundFile(reference, place);
            } else {
                MatchFoundDirectory(indexed, place);
                testing::RowByRowMatchFoundDirectory(reference, place);
            }
        }
    }
    FUZZ_CHECK(machine.state.Results().activity == referenceState.Results().activity);
    FUZZ_CHECK(testing::DescribedDetections(machine.state.Results()) ==
               testing::DescribedDetections(referenceState.Results()));
    FUZZ_CHECK(machine.state.counters == referenceState.counters);
}

void RunOn(std::string_view lines, TableKind kind, bool sixtyFourBit) {
    const bool files = kind == TableKind::Files;
    FuzzMachine machine;
    if (sixtyFourBit) machine.Use64BitWindows();
    machine.WriteDefinitionFile(files ? datafile::kFileDefinitions : datafile::kDirectoryDefinitions, lines);
    // Both files are there, as an image is saved only then.
    machine.WriteDefinitionFile(files ? datafile::kDirectoryDefinitions : datafile::kFileDefinitions, "");
    ScanContext context = machine.Context();
    LoadDefinitions(context);
    const DefinitionTable& table = files ? machine.tables.Files() : machine.tables.Directories();
    FUZZ_CHECK(table.Size() <= lines.size() + 1);
    CheckMatchersAgree(machine, kind);
    // The next run reads the tables from the image this load saved, and
    // finds the same.
    const std::vector<std::string> found = testing::DescribedDetections(machine.state.Results());
    const std::size_t rows = table.Size();
    machine.tables.Discard();
    machine.BeginScan();
    LoadDefinitions(context);
    FUZZ_CHECK(machine.tables.FromImage());
    FUZZ_CHECK(table.Size() == rows);
    CheckMatchersAgree(machine, kind);
    FUZZ_CHECK(testing::DescribedDetections(machine.state.Results()) == found);
    if (files) {
        ScanKnownFileLocations(context);
    } else {
        ScanKnownDirectoryLocations(context);
    }
}

}  // namespace

void RunTableDefinitions(std::string_view lines, TableKind kind) {
    // On 32-bit Windows, and on 64-bit Windows, where a row may stand for
    // its program folder's 32-bit twin too.
    for (const bool sixtyFourBit : {false, true}) RunOn(lines, kind, sixtyFourBit);
}

}  // namespace bastion::fuzz
