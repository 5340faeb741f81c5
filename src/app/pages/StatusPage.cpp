#include "app/pages/StatusPage.h"

#include "common/Text.h"
#include "services/messages/GuardMessages.h"
#include "services/settings/SettingKeys.h"
#include "update/DefinitionDate.h"

namespace bastion {

void RefreshStatusPage(const StatusPage& page) {
    ui::FrmMain& form = page.state.Form();
    form.lblDefCount.SetCaption(WithThousands(page.state.definitions.total));
    form.lblVersion.SetCaption(page.identity.VersionText());
    form.lblDefVersion.SetCaption(ReadDefinitionDate(page.files, page.codePage, page.dataFolder) + " PST");
    form.lblDefRemoved.SetCaption(page.settings.Read(services::settings::kLblDefRemoved));
    // "Never" is stored as such; it shows in the user's language.
    auto scanDate = [&page](const services::SettingKey& key) {
        const std::string stored = page.settings.Read(key);
        return stored == services::settings::kNever ? page.messages.getMessages(services::msg::kNever) : stored;
    };
    form.lblLastScan.SetCaption(scanDate(services::settings::kLblLastScan));
    form.lblLastFullScan.SetCaption(scanDate(services::settings::kLblLastFullScan));
    const std::string missed = page.settings.Read(services::settings::kScheduleMissed);
    form.lblScheduleMissed.SetCaption(
        missed.empty() ? std::string() : page.messages.getMessages(services::msg::kScheduleMissed) + " " + missed);
    form.lblScheduleMissed.SetVisible(!missed.empty());
}

}  // namespace bastion
