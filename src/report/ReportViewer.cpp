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

void frmReport_Load(ui::FrmReport& viewer, platform::FileSystem& files, const CodePage& codePage,
                    const std::string& dataFolder, const services::Identity& identity) {
    viewer.SetCaption(services::ReplaceCaptionPlaceholders(viewer.Caption(), identity));
    std::optional<std::string> bytes = files.ReadFile(ReportPath(dataFolder));
    viewer.txtReport.SetText(bytes ? ReportViewerText(*bytes, codePage) : std::string());
}

}  // namespace bastion
