#include "report/ScanReport.h"

#include <optional>
#include <vector>

#include "common/Lines.h"
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/Exclusions.h"
#include "platform/LineFile.h"
#include "scan/files/CompanyName.h"
#include "services/messages/GuardMessages.h"
#include "services/messages/MessageKeys.h"

namespace bastion {

namespace {

constexpr std::string_view kRule = "============================================";
constexpr std::string_view kDashes = "-----------------------";
constexpr std::string_view kReminder =
    "Remember: Not all items found are malicious.  In particular, cookies and recent document lists are only "
    "privacy concerns.  They cannot hurt your computer.  If you are unsure about an item please send this log to "
    "an expert before removing the item from your computer.";

class ReportText {
public:
    // The text followed by count line ends.
    ReportText& Row(std::string_view text, int lineEnds) {
        text_ += text;
        for (int i = 0; i < lineEnds; ++i) text_ += kCrLf;
        return *this;
    }
    std::string& Text() { return text_; }

private:
    std::string text_;
};

// The lines of a text file in the data folder, converted; nullopt when it
// does not exist or cannot be read.
std::optional<std::vector<std::string>> ReadTextLines(const ScanReport& report, const std::string& path) {
    std::optional<std::vector<std::string>> lines = platform::ReadLines(report.files, path);
    if (lines) {
        for (std::string& line : *lines) line = report.codePage.ToUtf8(line);
    }
    return lines;
}

std::string QuarantineText(const ScanReport& report) {
    std::string text;
    if (auto lines = ReadTextLines(report, QuarantineLogPath(report.dataFolder))) {
        for (const std::string& line : *lines) {
            text.append(line).append(kCrLf).append(kCrLf);
        }
    }
    return text;
}

std::string ExclusionText(const ScanReport& report) {
    std::string text;
    if (auto lines = ReadExclusionLines(ExclusionFile{report.files, report.codePage, report.dataFolder})) {
        for (const std::string& line : *lines) {
            if (line.empty() || line == " ") continue;
            text.append(line).append(kCrLf);
        }
    }
    return text;
}

// result: how an automatic removal went for the detection, when there was
// one.
void AddResultBlock(const ScanReport& report, const Detection& detection, std::optional<RemovalResult> result,
                    ReportText& out) {
    const std::string& location = detection.location;
    const std::string type = ReportTypeName(detection.kind);
    const bool isFile = type == "File";

    std::string company = "N/A";
    if (isFile) {
        company = GetFileCompanyName(report.files, report.codePage, location);
    }
    std::uint64_t size = 0;
    if (isFile || type == "Cookie") {
        size = report.files.FileSize(location).value_or(0);
    }

    out.Row(kRule, 2)
        .Row("File: " + location, 2)
        .Row("Name: " + ShownName(detection), 2)
        .Row("Company: " + company, 2)
        .Row("Type: " + type, 2)
        .Row("Size: " + ToDecimal(static_cast<long long>(size)) + " bytes", 2)
        .Row("Detail: " + detection.type.details, 2);
    if (result) {
        out.Row("Risk: " + detection.type.risk, 2).Row("Removal: " + std::string(RemovalResultWord(*result)), 3);
    } else {
        out.Row("Risk: " + detection.type.risk, 3);
    }
}

// The detections the report lists: everything found but the running
// programs, which the scan stopped there and then.
std::vector<const Detection*> Listed(const ScanResults& results) {
    std::vector<const Detection*> listed;
    for (const Detection& detection : results.detections) {
        if (Removable(detection)) listed.push_back(&detection);
    }
    return listed;
}

// What the schedule line says of an automatic removal.
std::string AutomaticRemovalText(const ScanReport& report) {
    const RemovalReport* removal = report.removal;
    long long found = 0;
    long long notRemoved = 0;
    if (removal) {
        for (const Detection* detection : Listed(report.results)) {
            ++found;
            if (removal->ResultOf(detection->id) != RemovalResult::Removed) ++notRemoved;
        }
    }
    if (removal && notRemoved == 0) return "the items found were removed automatically";
    return ToDecimal(notRemoved) + " of the " + ToDecimal(found) +
           " items found could not be removed automatically";
}

}  // namespace

std::string ReportPath(const std::string& dataFolder) { return DataFilePath(dataFolder, datafile::kScanLog); }

std::string ReportTypeName(DetectionKind kind) {
    switch (kind) {
    case DetectionKind::Cookie: return "Cookie";
    case DetectionKind::Registry: return "Registry";
    case DetectionKind::File: return "File";
    case DetectionKind::Folder: return "Folder";
    case DetectionKind::RunningProgram: break;
    }
    return {};
}

std::string CounterText(std::int32_t count, bool skipped, const services::MessageCatalogue& messages) {
    return skipped ? messages.getMessages(services::msg::kNotSelected) : ToDecimal(count);
}

std::string ComposeReport(const ScanReport& report) {
    const std::string quarantine = QuarantineText(report);
    const std::string exclusions = ExclusionText(report);
    const ScanResults& results = report.results;

    ReportText out;
    out.Row("", 2)
        .Row(std::string(19, ' ') + report.identity.productName + "v" + ToDecimal(report.identity.versionMajor) +
                 "." + ToDecimal(report.identity.versionMinor) + "   Scan Report",
             2)
        .Row("", 2)
        .Row(kReminder, 2)
        .Row("", 2)
        .Row(kDashes, 2)
        .Row(" Scan Started at  : " + results.started, 2)
        .Row(" Scan Finished at : " + results.finished, 2);
    if (report.scheduled) {
        out.Row(std::string(" Scheduled scan   : ") + (report.removeAutomatically
                                                            ? AutomaticRemovalText(report)
                                                            : "the items found were kept for review"),
                2);
    }
    for (const std::string& note : report.notes) out.Row(" Note             : " + note, 2);
    out.Row(kDashes, 2)
        .Row("", 2)
        .Row("", 2)
        .Row(" 1)Total Number of Processes inspected: " +
                 CounterText(results.counters.processesInspected, results.skipped.processes, report.messages),
             2)
        .Row(" 2)Total Number of Registry entries inspected: " +
                 CounterText(results.counters.registryInspected, results.skipped.registry, report.messages),
             2)
        .Row(" 3)Total Number of Files/Folders inspected: " + ToDecimal(results.counters.filesInspected), 2)
        .Row("", 2)
        .Row("[Threats Detected]", 3);
    // After an automatic removal each item found says what became of it.
    const RemovalReport* removal = report.removeAutomatically ? report.removal : nullptr;
    const std::vector<const Detection*> listed = Listed(results);
    for (const Detection* detection : listed) {
        std::optional<RemovalResult> result;
        if (removal) result = removal->ResultOf(detection->id);
        AddResultBlock(report, *detection, result, out);
    }
    out.Row(kRule, 3).Row("Total = " + ToDecimal(static_cast<long long>(listed.size())), 2);
    if (!exclusions.empty()) {
        out.Row(std::string(kCrLf) + "[Files Currently Excluded]" + std::string(kCrLf) + std::string(kCrLf) + exclusions,
                2);
    }
    if (!quarantine.empty()) {
        out.Row(std::string(kCrLf) + "[Current Quarantine Log]" + std::string(kCrLf) + std::string(kCrLf) + quarantine,
                3);
    }
    out.Row("", 2).Row("=====================End Of Report.", 1);
    return std::move(out.Text());
}

bool MakeReport(const ScanReport& report) {
    const std::string path = ReportPath(report.dataFolder);
    const std::string bytes = report.codePage.FromUtf8(ComposeReport(report));
    if (platform::WriteFileReplacing(report.files, path, bytes)) {
        return true;
    }
    report.files.DeleteFile(path);
    return false;
}

}  // namespace bastion
