#include "harness/MatcherCheck.h"

#include <algorithm>

#include "harness/FuzzTarget.h"
#include "common/Text.h"
#include "scan/files/FolderMatchers.h"
#include "support/RowByRowMatchers.h"

namespace bastion::fuzz {

namespace {

// Enough rows to reach the odd ones of a short input, few enough that an
// input of many lines stays quick.
constexpr std::size_t kRowsWalked = 24;

// Where a row's item would be met: on two drives (the row's own, for a row
// without "[drive]"), in the row's case and upper-cased.
std::vector<std::string> Places(const DefinitionRow& row, WalkedKind kind) {
    std::vector<std::string> places;
    for (std::string_view drive : {"c:", "D:"}) {
        std::string path = ReplaceAllIgnoreCase(row.folder, "[drive]", drive);
        if (kind == WalkedKind::Files) {
            path += row.name;
        } else if (!EndsWith(path, "\\")) {
            path += '\\';
        }
        places.push_back(ToUpper(path));
        places.push_back(std::move(path));
    }
    return places;
}

}  // namespace

void CheckMatchersAgree(FuzzMachine& machine, WalkedKind kind) {
    ui::FrmMain referenceForm;
    ScanState referenceState(referenceForm);
    referenceForm.cmdScan.SetEnabled(false);
    ScanContext indexed = machine.Context();
    ScanContext reference{machine.machine.files, indexed.codePage,     machine.machine.system,
                          machine.dataFolder,    machine.tokens,       machine.safety,
                          machine.exclusions,    referenceState,       machine.pump,
                          machine.tables,        machine.machine.registry, machine.machine.shell,
                          machine.machine.processes};
    const DefinitionTable& table =
        kind == WalkedKind::Files ? machine.tables.Files() : machine.tables.Directories();
    const std::size_t rows = std::min(table.Size(), kRowsWalked);
    for (std::size_t row = 0; row < rows; ++row) {
        for (const std::string& place : Places(table.Row(row), kind)) {
            if (kind == WalkedKind::Files) {
                MatchFoundFile(indexed, place);
                testing::RowByRowMatchFoundFile(reference, place);
            } else {
                MatchFoundDirectory(indexed, place);
                testing::RowByRowMatchFoundDirectory(reference, place);
            }
        }
    }
    using testing::ScanHarness;
    FUZZ_CHECK(ScanHarness::Rows(machine.state.ActivityList()) == ScanHarness::Rows(referenceState.ActivityList()));
    FUZZ_CHECK(ScanHarness::Rows(machine.state.ResultsList()) == ScanHarness::Rows(referenceState.ResultsList()));
    FUZZ_CHECK(ScanHarness::Rows(machine.state.FileQueue()) == ScanHarness::Rows(referenceState.FileQueue()));
}

}  // namespace bastion::fuzz
