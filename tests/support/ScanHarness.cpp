#include "support/ScanHarness.h"

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "report/ScanReport.h"

namespace bastion::testing {

namespace {

std::string Utf16(std::string_view ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

// A version-resource string entry: type word 1, key, NUL, value, NUL.
std::string Entry(std::string_view key, std::string_view value) {
    return std::string("\x01\0", 2) + Utf16(key) + std::string(2, '\0') + Utf16(value) + std::string(2, '\0');
}

}  // namespace

ScanHarness::ScanHarness() {
    machine.CreateSpecialFolders();
    tokens = PathTokens::Resolve(machine.shell);
    dataFolder = DataFolder(tokens);
    machine.files.CreateFolder(dataFolder);
}

void ScanHarness::Use64BitWindows() {
    machine.shell.Use64BitWindows();
    machine.CreateSpecialFolders();
    tokens = PathTokens::Resolve(machine.shell);
}

ScanContext ScanHarness::Context() {
    return ScanContext{machine.files, Windows1252(),    machine.system, dataFolder,        tokens,
                       safety,        exclusions,       state,          pump,              tables,
                       machine.registry, machine.shell, machine.processes};
}

void ScanHarness::WriteDefinitions(std::string_view file, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += EncodeDefinitionLine(Windows1252(), line);
        bytes += "\r\n";
    }
    machine.files.WriteFile(DataFilePath(dataFolder, file), bytes);
}

namespace {

// The kind as the report names it; a running program, which it does not list,
// by its kind's name.
std::string KindName(DetectionKind kind) {
    const std::string name = ReportTypeName(kind);
    return name.empty() ? "RunningProgram" : name;
}

std::string KindName(ActivityKind kind) {
    switch (kind) {
    case ActivityKind::Cookie: return "Cookie";
    case ActivityKind::Registry: return "Registry";
    case ActivityKind::File: return "File";
    case ActivityKind::Folder: return "Folder";
    case ActivityKind::Excluded: return "Excluded";
    case ActivityKind::RunningProgram: break;
    }
    return "RunningProgram";
}

}  // namespace

std::vector<std::string> DescribedDetections(const ScanResults& results) {
    std::vector<std::string> described;
    for (const Detection& detection : results.detections) {
        described.push_back(KindName(detection.kind) + ": " + detection.threat + "|" + detection.location + "|" +
                            detection.type.name);
    }
    return described;
}

std::vector<std::string> DescribedActivity(const ScanResults& results) {
    std::vector<std::string> described;
    for (const ActivityEntry& entry : results.activity) {
        described.push_back(entry.name + "|" + entry.details + "#" + KindName(entry.kind));
    }
    return described;
}

std::vector<std::string> DescribedRegistryItems(const ScanResults& results) {
    std::vector<std::string> items;
    for (const Detection& detection : results.detections) {
        const auto& item = std::get<RegistryItem>(detection.item);
        const std::string_view view = item.view == platform::RegView::Bits32   ? "32"
                                      : item.view == platform::RegView::Bits64 ? "64"
                                                                               : "";
        items.push_back(ToDecimal(platform::HiveHandleNumber(item.hive)) + "|" + item.key + "|" + item.value + "|" +
                        std::string(view));
    }
    return items;
}

std::vector<std::string> ScanHarness::Threats() const {
    std::vector<std::string> threats;
    for (const Detection& detection : state.Results().detections) threats.push_back(detection.threat);
    return threats;
}

std::vector<std::string> ScanHarness::Locations() const {
    std::vector<std::string> locations;
    for (const Detection& detection : state.Results().detections) locations.push_back(detection.location);
    return locations;
}

std::string ProgramWithCompany(std::string_view company) {
    std::string bytes = "MZ";
    bytes += std::string(60, '\x90');
    bytes += std::string("\x01\0", 2) + Utf16("StringFileInfo") + std::string(2, '\0');
    bytes += std::string("\x01\0", 2) + Utf16("040904b0") + std::string(2, '\0');
    bytes += Entry("CompanyName", company);
    bytes += Entry("FileDescription", "Some program");
    bytes += Entry("ProductName", "Some product");
    bytes += std::string(16, '\0');
    return bytes;
}

}  // namespace bastion::testing
