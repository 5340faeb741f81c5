#include "app/MainWindowLifecycle.h"
#include "app/SingleInstance.h"

#include "app/Navigation.h"
#include "app/pages/StatusPage.h"
#include "common/PathParts.h"
#include "definitions/DefinitionSet.h"
#include "definitions/Exclusions.h"
#include "scan/state/DefinitionCounts.h"
#include "services/messages/MessageKeys.h"
#include "services/settings/SettingValues.h"
#include "services/settings/SiblingProducts.h"
#include "ui/translation/SystemLanguage.h"

namespace bastion {

namespace {

// Runs a step that must not stop the ones after it.
template <typename F>
void Attempt(F&& step) {
    try {
        step();
    } catch (...) {
        // The step is skipped; the window goes on loading.
    }
}

}  // namespace

MainWindowLifecycle::MainWindowLifecycle(App& app, MainWindowSeams seams) : app_(app), seams_(std::move(seams)) {
    ui::FrmMain& form = app_.form;
    // The scroll timer only lets pending events run.
    form.tmrScroll.onTick = [this] { app_.pump.Pump(); };
    app_.offerElevatedRestart = [this](const std::vector<std::string>& fileNames) { OfferElevatedRestart(fileNames); };
}

bool MainWindowLifecycle::AnotherInstanceRunning() {
    platform::Platform& machine = app_.platform;
    return AnotherRunOfThisProgram({machine.instances, machine.processes, machine.files, machine.system},
                                   app_.identity.productName);
}

void MainWindowLifecycle::ShowHomePage() {
    ui::FrmMain& form = app_.form;
    // "[ProgramName] Status", unless a translation has filled it in already.
    form.frmStatus.SetCaption(services::ReplaceCaptionPlaceholders(form.frmStatus.Caption(), app_.identity));
    ShowPage(form, form.frmStatus);
}

LoadResult MainWindowLifecycle::Load() {
    namespace keys = services::settings;
    ui::FrmMain& form = app_.form;
    const services::Identity& identity = app_.identity;
    platform::FileSystem& files = app_.platform.files;

    // A sibling product of the same maker gets a launcher button.
    const services::SiblingProduct sibling = services::ReadSiblingProduct(app_.settings, identity);
    if (!sibling.name.empty()) {
        form.cmdHijack.SetCaption(sibling.name);
        form.cmdHijack.SetVisible(true);
    }
    // Every run, a second one included, tells the sibling where it lives.
    const std::string programPath = app_.platform.system.ProgramPath();
    services::RegisterThisProduct(app_.settings, identity, FolderOfPath(programPath), FileTitleOfPath(programPath));

    // The data folder and the window's icons are in place by now (the app
    // and the window did them).

    // No language stored means that nobody chose one yet: a first start,
    // which offers the language of the system's user interface, stored at
    // once so that the chooser shows it selected and OK keeps it.
    const bool languageMissing =
        app_.settings.Read(keys::kLanguage, keys::kLanguageFirstRunDefault).empty();
    if (languageMissing) {
        language_ = ui::LanguageForUserInterface(app_.platform.system.UserInterfaceLanguage(),
                                                 app_.languages.LanguageNames());
        app_.settings.Write(keys::kLanguage, language_);
    } else {
        language_ = app_.settings.Read(keys::kLanguage);
    }
    if (seams_.translate) seams_.translate(language_);
    if (languageMissing) IfSet(seams_.showLanguageChooser);

    if (AnotherInstanceRunning()) return LoadResult::SecondInstance;

    app_.InstallStarterDefinitions();
    InstallPendingDefinitionFiles(files, app_.dataFolder);
    CountDefinitions(files, app_.dataFolder, app_.state);
    app_.RefreshHomePage();
    LoadExclusions(ExclusionFile{files, app_.platform.codePage, app_.dataFolder}, app_.pump, app_.exclusions);
    ShowHomePage();

    // From here on a step that fails is skipped.
    bool another = false;
    Attempt([&] { another = AnotherInstanceRunning(); });
    if (another) return LoadResult::SecondInstance;
    Attempt([&] {
        app_.settings.Write(keys::kStatus, keys::kRunning);
        app_.settings.Write(keys::kRestart, keys::kFalse);
    });
    Attempt([&] { IfSet(seams_.loadAuxiliaryWindow); });
    Attempt([&] { form.SetCaption(app_.messages.getMessages(services::msg::kCaption)); });
    Attempt([&] { form.cmdWebsite.SetCaption(identity.website); });
    Attempt([&] {
        if (seams_.showInTaskList) seams_.showInTaskList(false);
    });
    Attempt([&] { form.Label22.SetCaption(app_.messages.getMessages(services::msg::kCaption2)); });
    Attempt([&] { form.Label26.SetCaption(app_.messages.getMessages(services::msg::kResults)); });
    Attempt([&] { RestoreWindow(); });
    return LoadResult::Running;
}

void MainWindowLifecycle::RestoreWindow() {
    namespace keys = services::settings;
    // The results list's column widths come back with the option page.
    if (app_.settings.Read(keys::kMax) == keys::kChecked) IfSet(seams_.maximize);
}

}  // namespace bastion
