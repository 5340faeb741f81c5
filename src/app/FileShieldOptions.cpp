#include "app/FileShieldOptions.h"

#include "services/messages/GuardMessages.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

namespace keys = services::settings;

namespace {

std::string_view StateKey(const ShieldFolder& folder, const std::vector<ShieldFolderState>& watched) {
    for (const ShieldFolderState& state : watched) {
        if (!(state.folder == folder)) continue;
        switch (state.failure) {
        case platform::WatchFailure::None:
            return folder.subfolders ? services::msg::kFileShieldWatched : services::msg::kFileShieldTopLevel;
        case platform::WatchFailure::NotFound: return services::msg::kFileShieldNotFound;
        case platform::WatchFailure::NotSupported: return services::msg::kFileShieldNotSupported;
        case platform::WatchFailure::Failed: return services::msg::kFileShieldFailed;
        }
    }
    return services::msg::kFileShieldOff;
}

std::vector<ShieldFolder> Stored(const FileShieldOptions& options) {
    const services::Services& services = options.services;
    return StoredShieldFolders(services.settings, services.shell, services.system);
}

// The list changed: stored, watched, shown.
void Changed(const FileShieldOptions& options, const std::vector<ShieldFolder>& folders) {
    StoreShieldFolders(options.services.settings, folders);
    options.shield.Apply();
    ShowShieldFolders(options);
}

void Switch(const FileShieldOptions& options, bool enabled) {
    services::SettingsStore& settings = options.services.settings;
    settings.WriteTruth(keys::kOptFileShieldOn, enabled);
    settings.WriteTruth(keys::kOptFileShieldOff, !enabled);
    options.shield.Apply();
    ShowShieldFolders(options);
}

}  // namespace

void ShowShieldFolders(const FileShieldOptions& options) {
    ui::ListView& list = options.form.lvwFileShieldFolders;
    list.Clear();
    for (const ShieldFolder& folder : Stored(options)) {
        const std::size_t row = list.Add(folder.path);
        list.SetSubItem(row, 1, options.services.messages.getMessages(StateKey(folder, options.shield.Folders())));
    }
}

void BindFileShieldOptions(const FileShieldOptions& options) {
    ui::FrmMain& form = options.form;
    form.optFileShieldOn.onClick = [options] { Switch(options, true); };
    form.optFileShieldOff.onClick = [options] { Switch(options, false); };
    form.chkFileShieldQuarantine.onClick = [options] {
        options.services.settings.WriteTruth(keys::kOptFileShieldQuarantine,
                                             options.form.chkFileShieldQuarantine.Checked());
    };
    form.cmdAddShieldFolder.onClick = [options] {
        const services::Services& services = options.services;
        const std::optional<std::string> chosen =
            services.dialogs.BrowseFolder(services.messages.getMessages(services::msg::kFileShieldBrowse));
        if (!chosen) return;
        std::vector<ShieldFolder> folders = Stored(options);
        if (AddShieldFolder(folders, *chosen)) Changed(options, folders);
    };
    form.cmdRemoveShieldFolder.onClick = [options] {
        const ui::ListView& list = options.form.lvwFileShieldFolders;
        std::vector<ShieldFolder> kept;
        const std::vector<ShieldFolder> folders = Stored(options);
        for (std::size_t i = 0; i < folders.size(); ++i) {
            if (i >= list.Count() || !list.Item(i).checked) kept.push_back(folders[i]);
        }
        if (kept.size() != folders.size()) Changed(options, kept);
    };
}

void RestoreFileShieldOptions(const FileShieldOptions& options) {
    const services::SettingsStore& settings = options.services.settings;
    const bool enabled = settings.ReadTruth(keys::kOptFileShieldOn);
    // A button that changes stores and applies itself, as a click does; the
    // shield is applied below in any case.
    (enabled ? options.form.optFileShieldOn : options.form.optFileShieldOff).SetValue(true);
    options.form.chkFileShieldQuarantine.SetValue(ui::CheckValue(settings.ReadTruth(keys::kOptFileShieldQuarantine)));
    options.shield.Apply();
    ShowShieldFolders(options);
}

}  // namespace bastion
