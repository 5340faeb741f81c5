// Everything a scan works with, on fakes: a machine with the usual XP folder
// layout, the main window's form and scan state, the lists, the tables and
// an event pump that can press Stop part-way. Context() hands it to the code
// under test.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "definitions/DefinitionTables.h"
#include "definitions/ExclusionList.h"
#include "definitions/PathTokens.h"
#include "definitions/SafetyList.h"
#include "scan/ScanContext.h"
#include "scan/state/ScanState.h"
#include "support/FakePlatform.h"
#include "support/ScriptedEventPump.h"
#include "ui/forms/FrmMain.h"

namespace bastion::testing {

class ScanHarness {
public:
    ScanHarness();
    ScanHarness(const ScanHarness&) = delete;
    ScanHarness& operator=(const ScanHarness&) = delete;

    ScanContext Context();
    // The machine becomes a 64-bit Windows with the 32-bit twins of the
    // program and system folders; the tokens follow.
    void Use64BitWindows();

    // The lines, shifted as definition files store them, CR LF after each.
    void WriteDefinitions(std::string_view file, const std::vector<std::string>& lines);

    // A list's rows as "text|sub 1|sub 2|...#small icon/icon", for comparing
    // whole lists in one expectation.
    static std::vector<std::string> Rows(const ui::ListView& list);

    FakePlatform machine;
    ui::FrmMain form;
    ScanState state{form};
    PathTokens tokens;
    std::string dataFolder;
    SafetyList safety;
    ExclusionList exclusions;
    DefinitionTables tables;
    ScriptedEventPump pump;
};

// The bytes of a program file whose version resource names the company, in
// the layout the resource compiler writes (type word, UTF-16 key, NULs,
// UTF-16 value).
std::string ProgramWithCompany(std::string_view company);

}  // namespace bastion::testing
