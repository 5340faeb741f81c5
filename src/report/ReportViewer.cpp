#include "report/ReportViewer.h"

#include "common/Lines.h"
#include "common/Text.h"
#include "report/ScanReport.h"

namespace bastion {

std::string ReportViewerText(const std::string& fileBytes, const CodePage& codePage) {
    std::string text;
    bool afterText = false;
    for (const std::string& line : SplitLines(fileBytes)) {
        if (Trim(line).empty()) {
            text += kCrLf;
            afterText = false;
        } else {
            // Lines written without an empty one between them (the
            // exclusions) still show one per line.
            if (afterText) text += kCrLf;
            text += codePage.ToUtf8(line);
            afterText = true;
        }
    }
    return text;
}

std::string ReadReportForViewer(platform::FileSystem& files, const CodePage& codePage, const std::string& dataFolder) {
    std::optional<std::string> bytes = files.ReadFile(ReportPath(dataFolder));
    return bytes ? ReportViewerText(*bytes, codePage) : std::string();
}

}  // namespace bastion
