#include "app/pages/StatusPage.h"

#include "common/Text.h"
#include "services/messages/GuardMessages.h"
#include "services/settings/SettingKeys.h"
#include "update/DefinitionDate.h"

namespace bastion {

void RefreshStatusPage(const services::Services& services, ui::FrmMain& form, std::int32_t definitionCount) {
    const services::SettingsStore& settings = services.settings;
    form.lblDefCount.SetCaption(WithThousands(definitionCount));
    form.lblVersion.SetCaption(services.identity.VersionText());
    form.lblDefVersion.SetCaption(ReadDefinitionDate(services.files, services.codePage, services.dataFolder) + " PST");
    form.lblDefRemoved.SetCaption(settings.Read(services::settings::kLblDefRemoved));
    // "Never" is stored as such; it shows in the user's language.
    auto scanDate = [&](const services::SettingKey& key) {
        const std::string stored = settings.Read(key);
        return stored == services::settings::kNever ? services.messages.getMessages(services::msg::kNever) : stored;
    };
    form.lblLastScan.SetCaption(scanDate(services::settings::kLblLastScan));
    form.lblLastFullScan.SetCaption(scanDate(services::settings::kLblLastFullScan));
    const std::string missed = settings.Read(services::settings::kScheduleMissed);
    form.lblScheduleMissed.SetCaption(
        missed.empty() ? std::string() : services.messages.getMessages(services::msg::kScheduleMissed) + " " + missed);
    form.lblScheduleMissed.SetVisible(!missed.empty());
}

}  // namespace bastion
