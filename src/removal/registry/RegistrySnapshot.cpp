#include "removal/registry/RegistrySnapshot.h"

#include "common/Text.h"

namespace bastion {

namespace {

bool ReadValues(platform::Registry& registry, platform::Hive hive, const std::string& path, platform::RegView view,
                SnapshotKey& key) {
    std::vector<std::string> names;
    if (registry.EnumerateValues(hive, path, names, view) != platform::kRegOk) return false;
    for (const std::string& name : names) {
        SnapshotValue value{name, {}};
        if (registry.QueryValue(hive, path, name, value.value, view) != platform::kRegOk) return false;
        key.values.push_back(std::move(value));
    }
    return true;
}

bool ReadTree(platform::Registry& registry, platform::Hive hive, const std::string& path,
              const std::string& savedPath, platform::RegView view, RegistrySnapshot& snapshot, int depth) {
    // Deeper than the registry allows (512 levels): a loop through a link.
    if (depth > 512) return false;
    SnapshotKey key{savedPath, {}};
    if (!ReadValues(registry, hive, path, view, key)) return false;
    snapshot.keys.push_back(std::move(key));
    std::vector<std::string> subkeys;
    if (registry.EnumerateSubkeys(hive, path, subkeys, view) != platform::kRegOk) return false;
    for (const std::string& subkey : subkeys) {
        if (!ReadTree(registry, hive, path + "\\" + subkey, savedPath + "\\" + subkey, view, snapshot, depth + 1)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string PathSeenBy64BitView(platform::Registry& registry, platform::Hive hive, const std::string& path,
                                platform::RegView view) {
    if (view != platform::RegView::Bits32) return path;
    std::string wanted, plain;
    if (registry.KeyIdentity(hive, path, view, wanted) != platform::kRegOk ||
        (registry.KeyIdentity(hive, path, platform::RegView::Bits64, plain) == platform::kRegOk &&
         EqualsIgnoreCase(plain, wanted))) {
        return path;
    }
    // The places the system redirects: the machine's software key, and the
    // classes keys of the machine, the user and HKEY_CLASSES_ROOT.
    std::vector<std::string> candidates;
    for (std::string_view parent : {"Software\\Classes\\", "Software\\", ""}) {
        if (!StartsWithIgnoreCase(path, parent)) continue;
        candidates.push_back(path.substr(0, parent.size()) + "Wow6432Node\\" + path.substr(parent.size()));
    }
    for (const std::string& candidate : candidates) {
        std::string identity;
        if (registry.KeyIdentity(hive, candidate, platform::RegView::Bits64, identity) == platform::kRegOk &&
            EqualsIgnoreCase(identity, wanted)) {
            return candidate;
        }
    }
    return path;
}

bool ReadKeyTree(platform::Registry& registry, platform::Hive hive, const std::string& path,
                 platform::RegView view, RegistrySnapshot& snapshot) {
    snapshot.hive = hive;
    snapshot.keys.clear();
    return ReadTree(registry, hive, path, PathSeenBy64BitView(registry, hive, path, view), view, snapshot, 0);
}

bool ReadOneValue(platform::Registry& registry, platform::Hive hive, const std::string& path,
                  const std::string& name, platform::RegView view, RegistrySnapshot& snapshot) {
    snapshot.hive = hive;
    snapshot.keys.clear();
    SnapshotKey key{PathSeenBy64BitView(registry, hive, path, view), {}};
    SnapshotValue value{name, {}};
    if (registry.QueryValue(hive, path, name, value.value, view) != platform::kRegOk) return false;
    key.values.push_back(std::move(value));
    snapshot.keys.push_back(std::move(key));
    return true;
}

bool ApplySnapshot(platform::Registry& registry, const RegistrySnapshot& snapshot, platform::RegView view) {
    bool ok = true;
    for (const SnapshotKey& key : snapshot.keys) {
        if (registry.CreateKey(snapshot.hive, key.path, view) != platform::kRegOk) {
            ok = false;
            continue;
        }
        for (const SnapshotValue& value : key.values) {
            platform::RegValue exact = value.value;
            exact.exactBytes = true;
            ok = registry.SetValue(snapshot.hive, key.path, value.name, exact, view) == platform::kRegOk && ok;
        }
    }
    return ok;
}

}  // namespace bastion
