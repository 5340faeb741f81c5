// Everything a scan works with, on fakes: a machine with the usual XP folder
// layout, the scan state, the lists, the tables and an event pump that can
// press Stop part-way. Context() hands it to the code under test.
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

namespace bastion::testing {

// The detections as "Kind: threat|location|type", the activity log as
// "name|details#Kind", for comparing whole results in one expectation.
std::vector<std::string> DescribedDetections(const ScanResults& results);
std::vector<std::string> DescribedActivity(const ScanResults& results);
// What removal reaches of each registry detection: "hive handle number|key
// as the definition writes it|value|view" ("64", "32", or "" for the
// program's own).
std::vector<std::string> DescribedRegistryItems(const ScanResults& results);

// What a scan told its front end: whether the definitions were loading,
// the last item it reported, and how many reports it made.
struct RecordedProgress final : ScanProgress {
    void Loading(bool now) override { loading = now; }
    void Phase(std::string_view message) override { phases.emplace_back(message); }
    void Item(std::string_view text, std::int16_t scanPercent, std::int16_t overallPercent, const ScanCounters&,
              bool) override {
        if (items == 0) {
            firstItem.assign(text);
            firstScanPercent = scanPercent;
            firstOverallPercent = overallPercent;
        }
        lastItem.assign(text);
        lastScanPercent = scanPercent;
        lastOverallPercent = overallPercent;
        ++items;
    }

    void Counted(const ScanCounters& counters) override {
        lastCounted = counters;
        ++counts;
    }
    void Walked(double done, double expected) override {
        walked.push_back(done);
        walkExpected = expected;
    }

    void RunningPrograms(std::int32_t count) override { runningPrograms = count; }

    bool loading = false;
    std::vector<std::string> phases;
    std::int32_t runningPrograms = 0;
    ScanCounters lastCounted;
    int counts = 0;
    // Every value a walk reported, and what it expected last.
    std::vector<double> walked;
    double walkExpected = 0;
    std::string firstItem;
    std::int16_t firstScanPercent = -1;
    std::int16_t firstOverallPercent = -1;
    std::string lastItem;
    std::int16_t lastScanPercent = -1;
    std::int16_t lastOverallPercent = -1;
    int items = 0;
};

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

    // A scan begins, as the engine begins one: what the scans add goes to
    // empty results, and a cookie found is one to remove.
    void BeginScan() { state.Begin(progress); }

    // The results so far, described.
    std::vector<std::string> Detections() const { return DescribedDetections(state.Results()); }
    std::vector<std::string> Activity() const { return DescribedActivity(state.Results()); }
    // The threat names and the locations of the detections, in the order
    // found.
    std::vector<std::string> Threats() const;
    std::vector<std::string> Locations() const;

    FakePlatform machine;
    RecordedProgress progress;
    ScanState state;
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
