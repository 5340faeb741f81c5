// A program issued under another product name (see its version resource):
// it reads its own identity and writes through the settings store, as
// Bastion does at start. Exit code 0 when the identity is the other brand's
// and its store was fresh; the marker key named by the first argument is
// written either way.
#include <string>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Registry.h"
#include "services/settings/SettingKeys.h"
#include "services/settings/SettingsStore.h"
#include "ui/win32/IdentityFromVersionResource.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 3;
    const bastion::services::Identity identity = bastion::win32::ReadOwnIdentity();
    bastion::win32::Win32Registry registry;
    bastion::services::SettingsStore store(registry, identity.productName);

    const bool fresh =
        store.Read(bastion::services::settings::kLanguage, bastion::services::settings::kLanguageFirstRunDefault)
            .empty();
    store.WriteSetting(bastion::services::settings::kSectionSettings, bastion::win32::Narrow(argv[1]), "written");
    if (identity.productName != "Bastion Other Brand" || identity.companyName != "Other Brand Company") return 1;
    return fresh ? 0 : 2;
}
