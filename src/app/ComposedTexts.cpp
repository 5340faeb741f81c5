#include "app/ComposedTexts.h"

#include "app/OptionPage.h"
#include "app/RunAtStartup.h"
#include "app/pages/StatusPage.h"
#include "services/messages/MessageKeys.h"
#include "update/DefinitionDate.h"

namespace bastion {

void ShowComposedTexts(App& app) {
    ui::FrmMain& form = app.form;
    const services::MessageCatalogue& messages = app.messages;
    form.SetCaption(messages.getMessages(services::msg::kCaption));
    form.Label22.SetCaption(messages.getMessages(services::msg::kCaption2));
    form.Label26.SetCaption(messages.getMessages(services::msg::kResults));
    app.RefreshHomePage();
    form.lblLastUpdate.SetCaption(
        LastUpdateText(messages, ReadDefinitionDate(app.platform.files, app.platform.codePage, app.dataFolder)));
    ShowRunAtStartupStatus(RunAtStartupOf(app));
    app.updates.CheckFreshness(false, true);
}

}  // namespace bastion
