#include "scan/state/StatusPage.h"

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "platform/LineFile.h"
#include "ui/GuardMessages.h"
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
    ui::FrmMain& form = page.form;
    form.lblDefCount.SetCaption(WithThousands(page.state.definitions.total));
    form.lblVersion.SetCaption(page.identity.VersionText());
    form.lblDefVersion.SetCaption(ReadDefinitionDate(page.files, page.codePage, page.dataFolder) + " PST");
    form.lblDefRemoved.SetCaption(page.settings.Read(ui::settings::kLblDefRemoved));
    // "Never" is stored as such; it shows in the user's language.
    auto scanDate = [&page](const ui::SettingKey& key) {
        const std::string stored = page.settings.Read(key);
        return stored == ui::settings::kNever ? page.messages.getMessages(ui::msg::kNever) : stored;
    };
    form.lblLastScan.SetCaption(scanDate(ui::settings::kLblLastScan));
    form.lblLastFullScan.SetCaption(scanDate(ui::settings::kLblLastFullScan));
    const std::string missed = page.settings.Read(ui::settings::kScheduleMissed);
    form.lblScheduleMissed.SetCaption(missed.empty() ? std::string()
                                                     : page.messages.getMessages(ui::msg::kScheduleMissed) + " " + missed);
    form.lblScheduleMissed.SetVisible(!missed.empty());
}

}  // namespace bastion
