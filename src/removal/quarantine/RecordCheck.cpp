#include "removal/quarantine/RecordCheck.h"

#include <cctype>

#include "common/PathParts.h"
#include "common/Text.h"
#include "removal/quarantine/LinkRecord.h"
#include "removal/quarantine/Quarantine.h"
#include "scan/state/ScanState.h"

namespace bastion {

namespace {

constexpr std::string_view kRegExtension = ".reg";

// CON, PRN, AUX, NUL, COM0-9, LPT0-9 and the console's names, with or
// without an extension: Windows opens the device, not a file.
bool IsDeviceName(std::string_view name) {
    const std::string base = ToUpper(TrimRight(name.substr(0, name.find('.'))));
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (base == device) return true;
    }
    return base.size() == 4 && (StartsWith(base, "COM") || StartsWith(base, "LPT")) &&
           std::isdigit(static_cast<unsigned char>(base[3]));
}

bool IsPlainName(std::string_view name) {
    // "..." or ". ." would lose its dots and blanks to the path parsing and
    // name the folder above, or the folder itself.
    if (name.find_first_not_of(". ") == std::string_view::npos || IsDeviceName(name)) return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

bool IsRegistryKind(QuarantineKind kind) {
    return kind == QuarantineKind::RegistryValue || kind == QuarantineKind::RegistryKey;
}

// The path a program of the 32-bit view gives a key that the 64-bit view
// names below a "Wow6432Node" key (see PathSeenBy64BitView).
std::string ThirtyTwoBitViewPath(const std::string& path) {
    for (std::string_view parent : {"Software\\Classes\\", "Software\\", ""}) {
        const std::string redirected = std::string(parent) + "Wow6432Node\\";
        if (StartsWithIgnoreCase(path, redirected)) return path.substr(0, parent.size()) + path.substr(redirected.size());
    }
    return path;
}

bool IsKeyPath(std::string_view path) {
    return !path.empty() && path.front() != '\\' && path.back() != '\\' && !Contains(path, "\\\\");
}

}  // namespace

bool IsFullLocalPath(std::string_view path) {
    if (!IsDrivePath(path) || !std::isalpha(static_cast<unsigned char>(path[0]))) return false;
    const std::vector<std::string> names = Split(path.substr(3), "\\");
    // "C:\" itself is no place an item was taken from.
    for (const std::string& name : names) {
        if (!IsPlainName(name)) return false;
    }
    return !names.empty();
}

bool IsStoredNameFor(const QuarantineItem& item) {
    const std::string prefix = ToDecimal(static_cast<long long>(item.id)) + "_";
    if (!StartsWith(item.storedName, prefix)) return false;
    const std::string name = item.storedName.substr(prefix.size());
    if (!IsPlainName(name) || SafeFileName(name) != name) return false;
    switch (item.kind) {
    case QuarantineKind::File:
    case QuarantineKind::Cookie:
    case QuarantineKind::Folder: return name == SafeFileName(FileNameOfPath(item.originalLocation));
    case QuarantineKind::FolderLink:
        return name == SafeFileName(FileNameOfPath(item.originalLocation) + std::string(kLinkRecordExtension));
    case QuarantineKind::RegistryValue:
    case QuarantineKind::RegistryKey: return EndsWithIgnoreCase(name, kRegExtension);
    }
    return false;
}

platform::RegView RecordedView(const QuarantineItem& item) {
    return EndsWith(item.originalLocation, kThirtyTwoBitViewSuffix) ? platform::RegView::Bits32
                                                                    : platform::RegView::Bits64;
}

std::optional<RegistrySnapshot> SnapshotInPlace(const RegistrySnapshot& backup, const QuarantineItem& item) {
    if (!IsRegistryKind(item.kind)) return std::nullopt;
    const platform::RegView view = RecordedView(item);
    std::string location = item.originalLocation;
    if (view == platform::RegView::Bits32) location.resize(location.size() - kThirtyTwoBitViewSuffix.size());
    const std::string hivePrefix = std::string(platform::HiveName(backup.hive)) + "\\";
    if (!StartsWithIgnoreCase(location, hivePrefix)) return std::nullopt;
    const std::string place = location.substr(hivePrefix.size());

    RegistrySnapshot placed;
    placed.hive = backup.hive;
    for (const SnapshotKey& key : backup.keys) {
        SnapshotKey inView = key;
        if (view == platform::RegView::Bits32) inView.path = ThirtyTwoBitViewPath(key.path);
        if (!IsKeyPath(inView.path)) return std::nullopt;
        placed.keys.push_back(std::move(inView));
    }
    if (item.kind == QuarantineKind::RegistryValue) {
        // One value, whose key and name make up the recorded location.
        if (placed.keys.size() != 1 || placed.keys[0].values.size() != 1) return std::nullopt;
        const std::string& name = placed.keys[0].values[0].name;
        const std::string named = placed.keys[0].path + (name.empty() ? "" : "\\" + name);
        return EqualsIgnoreCase(named, place) ? std::optional<RegistrySnapshot>(std::move(placed)) : std::nullopt;
    }
    if (!IsKeyPath(place)) return std::nullopt;
    for (const SnapshotKey& key : placed.keys) {
        if (!EqualsIgnoreCase(key.path, place) && !StartsWithIgnoreCase(key.path, place + "\\")) return std::nullopt;
    }
    return placed;
}

bool IsRecordTheQuarantineWrites(const QuarantineItem& item) {
    const bool registryItem = item.kind == QuarantineKind::RegistryValue || item.kind == QuarantineKind::RegistryKey;
    return IsStoredNameFor(item) && (registryItem || IsFullLocalPath(item.originalLocation));
}

}  // namespace bastion
