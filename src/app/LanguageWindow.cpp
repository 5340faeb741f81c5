#include "app/LanguageWindow.h"

#include "app/ComposedTexts.h"
#include "platform/LineFile.h"
#include "services/messages/MessageKeys.h"
#include "services/operations/TimersHeld.h"
#include "services/settings/SettingKeys.h"
#include "services/waits/RequestWait.h"
#include "ui/forms/DisabledWhile.h"
#include "update/SignedAnswer.h"
#include "update/UpdateAddresses.h"

namespace bastion {

namespace keys = services::settings;

LanguageWindow::LanguageWindow(App& app) : app_(app) {
    form.Combo1.onClick = [this] { Combo1_Click(); };
    form.Command1.onClick = [this] { Command1_Click(); };
    form.Command3.onClick = [this] { Command3_Click(); };
}

void LanguageWindow::Form_Load() {
    FillLanguageList();
    form.SetCaption(app_.messages.getMessages(services::msg::kTitleLanguage));
}

void LanguageWindow::FillLanguageList() {
    filling_ = true;
    form.Combo1.Clear();
    const std::string stored = app_.settings.Read(keys::kLanguage);
    for (const std::string& name : app_.languages.LanguageNames()) {
        form.Combo1.AddItem(name);
        form.Combo1.SetText(stored);
    }
    if (form.Combo1.ListIndex() < 0) form.Combo1.SetText(std::string(ui::kChooseLanguageHere));
    filling_ = false;
}

void LanguageWindow::Combo1_Click() {
    const std::string language = form.Combo1.Text();
    if (filling_ || language.empty() || language == ui::kChooseLanguageHere) return;
    app_.settings.Write(keys::kLanguage, language);
    ui::clsLanguages& languages = app_.languages;
    languages.ChangeLanguage(app_.form, language);
    languages.ChangeLanguage(form, language);
    // The texts the program made from messages follow the messages.
    ShowComposedTexts(app_);
    form.SetCaption(languages.getMessages(services::msg::kTitleLanguage));
    if (retranslateOpenWindows) retranslateOpenWindows();
}

void LanguageWindow::Command1_Click() {
    services::OperationGate::Operation operation = app_.operations.TryBegin("language download");
    if (!operation) return;
    bool stored = false;
    bool verified = true;
    {
        const services::TimersHeld held(app_.shieldTimers);
        ui::DisabledWhile busy({&form.Command1});
        const std::string url = LanguageFileUrl(LanguageServerBase(app_.settings), app_.identity);
        const platform::HttpResult answer =
            app_.platform.internet.Request({url}, services::RequestWait(app_.pump, app_.operations));
        if (answer.Succeeded()) {
            const std::optional<std::string_view> trusted =
                TrustedLanguageFile(app_.trust, answer.body, app_.identity.brandingNumber);
            verified = trusted.has_value();
            if (const std::optional<std::string> text = ui::AcceptedLanguageFile(trusted.value_or(""))) {
                stored = platform::WriteFileReplacing(app_.platform.files, app_.languages.LocalizationPath(), *text);
            }
        }
    }
    operation.Finish();
    if (stored) {
        FillLanguageList();
        app_.dialogs.MessageBox(app_.messages.getMessages(services::msg::kDownloaded), app_.identity.productName,
                                services::MsgButtons::Ok, services::MsgIcon::Information);
    } else {
        app_.dialogs.MessageBox(
            app_.messages.getMessages(verified ? services::msg::kLanguageFailed : services::msg::kLanguageNotVerified),
            app_.identity.productName, services::MsgButtons::Ok, services::MsgIcon::Exclamation);
    }
}

void LanguageWindow::Command3_Click() {
    const std::string path = app_.languages.LocalizationPath();
    if (app_.languages.LangFileExists(path)) app_.platform.shell.Open(path, platform::ShowWindow::Normal);
}

}  // namespace bastion
