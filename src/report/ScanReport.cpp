#include "report/ScanReport.h"

#include <optional>
#include <vector>

#include "common/Lines.h"
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/Exclusions.h"
#include "platform/LineFile.h"
#include "scan/files/CompanyName.h"

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

// The kind code of a results row: its tag, or, for a row added without
// one, its small icon, which the tag repeats.
std::string KindCode(const ui::ListItem& row) {
    return row.tag.empty() ? ToDecimal(row.smallIcon) : row.tag;
}

const std::string& SubItem(const ui::ListItem& row, std::size_t k) {
    static const std::string kNone;
    return k >= 1 && k <= row.subItems.size() ? row.subItems[k - 1] : kNone;
}

// result: how an automatic removal went for the row, when there was one.
void AddResultBlock(const ScanReport& report, const ui::ListItem& row, std::optional<RemovalResult> result,
                    ReportText& out) {
    const std::string& location = SubItem(row, 1);
    const std::string type = ReportTypeName(KindCode(row));
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
        .Row("Name: " + row.text, 2)
        .Row("Company: " + company, 2)
        .Row("Type: " + type, 2)
        .Row("Size: " + ToDecimal(static_cast<long long>(size)) + " bytes", 2)
        .Row("Detail: " + SubItem(row, 4), 2);
    if (result) {
        out.Row("Risk: " + SubItem(row, 3), 2).Row("Removal: " + std::string(RemovalResultWord(*result)), 3);
    } else {
        out.Row("Risk: " + SubItem(row, 3), 3);
    }
}

// What the schedule line says of an automatic removal.
std::string AutomaticRemovalText(const AutomaticRemoval* removal) {
    long long found = 0;
    long long notRemoved = 0;
    if (removal) {
        for (std::size_t row = 0; row < removal->found.size(); ++row) {
            // "EXCLUDED" rows were never meant to go.
            if (removal->found[row].link == 0) continue;
            ++found;
            if (row >= removal->results.size() || removal->results[row] != RemovalResult::Removed) ++notRemoved;
        }
    }
    if (removal && notRemoved == 0) return "the items found were removed automatically";
    return ToDecimal(notRemoved) + " of the " + ToDecimal(found) +
           " items found could not be removed automatically";
}

}  // namespace

std::string ReportPath(const std::string& dataFolder) { return DataFilePath(dataFolder, datafile::kScanLog); }

std::string ReportTypeName(const std::string& kindCode) {
    if (kindCode == "1") return "Cookie";
    if (kindCode == "2") return "Registry";
    if (kindCode == "3") return "File";
    if (kindCode == "4") return "Folder";
    if (kindCode == "5") return "EXCLUDED";
    return {};
}

std::string ComposeReport(const ScanReport& report) {
    const std::string quarantine = QuarantineText(report);
    const std::string exclusions = ExclusionText(report);
    const ui::FrmMain& form = report.form;
    const ui::ListView& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;

    ReportText out;
    out.Row("", 2)
        .Row(std::string(19, ' ') + report.identity.productName + "v" + ToDecimal(report.identity.versionMajor) +
                 "." + ToDecimal(report.identity.versionMinor) + "   Scan Report",
             2)
        .Row("", 2)
        .Row(kReminder, 2)
        .Row("", 2)
        .Row(kDashes, 2)
        .Row(" Scan Started at  : " + report.started, 2)
        .Row(" Scan Finished at : " + report.finished, 2);
    if (report.scheduled) {
        out.Row(std::string(" Scheduled scan   : ") + (report.removeAutomatically
                                                            ? AutomaticRemovalText(report.removal)
                                                            : "the items found were kept for review"),
                2);
    }
    for (const std::string& note : report.notes) out.Row(" Note             : " + note, 2);
    out.Row(kDashes, 2)
        .Row("", 2)
        .Row("", 2)
        .Row(" 1)Total Number of Processes inspected: " + form.lblMemoryInspected.Caption(), 2)
        .Row(" 2)Total Number of Registry entries inspected: " + form.lblRegistryInspected.Caption(), 2)
        .Row(" 3)Total Number of Files/Folders inspected: " + form.lblFilesFolderInspected.Caption(), 2)
        .Row("", 2)
        .Row("[Threats Detected]", 3);
    // After an automatic removal the rows it removed are gone from the
    // list: the report shows every row the scan found.
    const AutomaticRemoval* removal = report.removeAutomatically ? report.removal : nullptr;
    const std::vector<ui::ListItem>& rows = removal ? removal->found : results.Rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        std::optional<RemovalResult> result;
        if (removal && rows[row].link != 0 && row < removal->results.size()) result = removal->results[row];
        AddResultBlock(report, rows[row], result, out);
    }
    out.Row(kRule, 3).Row("Total = " + ToDecimal(static_cast<long long>(rows.size())), 2);
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
