#include "scan/state/StatusPage.h"

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "platform/LineFile.h"
#include "ui/settings/SettingKeys.h"

namespace bastion {

std::string ReadDefinitionDate(platform::FileSystem& files, const CodePage& codePage, std::string_view dataFolder) {
    auto lines = platform::ReadLines(files, DataFilePath(dataFolder, datafile::kDefinitionDate));
    if (!lines || lines->empty()) {
        return std::string(kDefaultDefinitionDate);
    }
    return codePage.ToUtf8(lines->front());
}

void RefreshStatusPage(const StatusPage& page) {
    ui::FrmMain& form = page.state.Form();
    form.lblDefCount.SetCaption(WithThousands(page.state.definitions.total));
    form.lblVersion.SetCaption(page.identity.VersionText());
    form.lblDefVersion.SetCaption(ReadDefinitionDate(page.files, page.codePage, page.dataFolder) + " PST");
    form.lblDefRemoved.SetCaption(page.settings.Read(ui::settings::kLblDefRemoved));
    form.lblLastScan.SetCaption(page.settings.Read(ui::settings::kLblLastScan));
    form.lblLastFullScan.SetCaption(page.settings.Read(ui::settings::kLblLastFullScan));
}

}  // namespace bastion
