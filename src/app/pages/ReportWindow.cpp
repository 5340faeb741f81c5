#include "app/pages/ReportWindow.h"

#include "report/ReportViewer.h"

namespace bastion {

void frmReport_Load(ui::FrmReport& viewer, platform::FileSystem& files, const CodePage& codePage,
                    const std::string& dataFolder, const services::Identity& identity) {
    viewer.SetCaption(services::ReplaceCaptionPlaceholders(viewer.Caption(), identity));
    viewer.txtReport.SetText(ReadReportForViewer(files, codePage, dataFolder));
}

}  // namespace bastion
