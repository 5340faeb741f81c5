#include "support/FakeRegistry.h"

#include <algorithm>
#include <stdexcept>

#include "common/Text.h"

namespace bastion::testing {

using platform::Hive;
using platform::RegAccess;
using platform::RegValue;
using platform::RegView;
using platform::kRegAccessDenied;
using platform::kRegNotFound;
using platform::kRegOk;

struct FakeRegistry::Key {
    std::string name;
    std::vector<std::unique_ptr<Key>> subkeys;
    std::vector<std::pair<std::string, RegValue>> values;

    Key* Subkey(const std::string& wanted) const {
        for (const auto& subkey : subkeys) {
            if (EqualsIgnoreCase(subkey->name, wanted)) {
                return subkey.get();
            }
        }
        return nullptr;
    }
    std::pair<std::string, RegValue>* Value(const std::string& wanted) {
        for (auto& value : values) {
            if (EqualsIgnoreCase(value.first, wanted)) {
                return &value;
            }
        }
        return nullptr;
    }
};

namespace {

constexpr Hive kHives[] = {Hive::ClassesRoot, Hive::CurrentUser, Hive::LocalMachine,
                           Hive::Users,       Hive::CurrentConfig, Hive::DynData};

// Key names of a path; a trailing backslash is allowed, any other empty name
// makes the path invalid. The empty path names the hive itself.
std::optional<std::vector<std::string>> SplitKeyPath(const std::string& path) {
    std::vector<std::string> names = Split(path, "\\");
    if (!names.empty() && names.back().empty()) {
        names.pop_back();
    }
    for (const std::string& name : names) {
        if (name.empty()) {
            return std::nullopt;
        }
    }
    return names;
}

// The path begins with these key names (ignoring case).
bool StartsWithNames(const std::vector<std::string>& names, const std::vector<std::string>& prefix) {
    return prefix.size() <= names.size() &&
           std::equal(prefix.begin(), prefix.end(), names.begin(),
                      [](const std::string& a, const std::string& b) { return EqualsIgnoreCase(a, b); });
}

bool Covers(RegAccess asked, RegAccess minimumDenied) {
    return static_cast<int>(asked) >= static_cast<int>(minimumDenied);
}

}  // namespace

FakeRegistry::FakeRegistry() {
    for (Hive hive : kHives) {
        auto root = std::make_unique<Key>();
        root->name = platform::HiveName(hive);
        hives_.push_back(std::move(root));
    }
}

FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Key* FakeRegistry::Root(Hive hive) const {
    for (std::size_t i = 0; i < std::size(kHives); ++i) {
        if (kHives[i] == hive) {
            return hives_[i].get();
        }
    }
    return nullptr;
}

FakeRegistry::Key* FakeRegistry::Find(Hive hive, const std::string& path) const {
    Key* key = Root(hive);
    auto names = SplitKeyPath(path);
    if (!key || !names) {
        return nullptr;
    }
    for (const std::string& name : *names) {
        key = key->Subkey(name);
        if (!key) {
            return nullptr;
        }
    }
    return key;
}

FakeRegistry::Key* FakeRegistry::FindOrCreate(Hive hive, const std::string& path) {
    Key* key = Root(hive);
    auto names = SplitKeyPath(path);
    if (!key || !names) {
        return nullptr;
    }
    for (const std::string& name : *names) {
        Key* next = key->Subkey(name);
        if (!next) {
            auto created = std::make_unique<Key>();
            created->name = name;
            next = created.get();
            key->subkeys.push_back(std::move(created));
        }
        key = next;
    }
    return key;
}

bool FakeRegistry::Denied(Hive hive, const std::string& path, RegAccess access) const {
    auto names = SplitKeyPath(path);
    if (!names) {
        return false;
    }
    for (const Denial& denial : denials_) {
        if (denial.hive != hive || !Covers(access, denial.minimumDenied) || denial.prefix.size() > names->size()) {
            continue;
        }
        bool below = std::equal(denial.prefix.begin(), denial.prefix.end(), names->begin(),
                                [](const std::string& a, const std::string& b) { return EqualsIgnoreCase(a, b); });
        if (below) {
            return true;
        }
    }
    return false;
}

// A missing key is reported before a denied one, as the system does.
long FakeRegistry::Check(Hive hive, const std::string& path, RegAccess access, Key*& key) const {
    key = Find(hive, path);
    if (!key) {
        return kRegNotFound;
    }
    return Denied(hive, path, access) ? kRegAccessDenied : kRegOk;
}

long FakeRegistry::OpenKey(Hive hive, const std::string& given, RegAccess access, RegView view) {
    const std::string path = InView(hive, given, view);
    Key* key = nullptr;
    return Check(hive, path, access, key);
}

long FakeRegistry::CreateKey(Hive hive, const std::string& given, RegView view) {
    const std::string path = InView(hive, given, view);
    if (!Root(hive) || !SplitKeyPath(path)) {
        return kRegNotFound;
    }
    if (Denied(hive, path, RegAccess::ReadWrite)) {
        return kRegAccessDenied;
    }
    FindOrCreate(hive, path);
    return kRegOk;
}

long FakeRegistry::QueryValue(Hive hive, const std::string& given, const std::string& name, RegValue& out,
                              RegView view) {
    const std::string path = InView(hive, given, view);
    Key* key = nullptr;
    if (long result = Check(hive, path, RegAccess::Read, key); result != kRegOk) {
        return result;
    }
    auto* value = key->Value(name);
    if (!value) {
        return kRegNotFound;
    }
    out = value->second;
    return kRegOk;
}

long FakeRegistry::SetValue(Hive hive, const std::string& given, const std::string& name, const RegValue& value,
                            RegView view) {
    const std::string path = InView(hive, given, view);
    Key* key = nullptr;
    if (long result = Check(hive, path, RegAccess::ReadWrite, key); result != kRegOk) {
        return result;
    }
    if (auto* existing = key->Value(name)) {
        existing->second = value;  // the name keeps the case it was created with
    } else {
        key->values.emplace_back(name, value);
    }
    return kRegOk;
}

long FakeRegistry::DeleteValue(Hive hive, const std::string& given, const std::string& name, RegView view) {
    const std::string path = InView(hive, given, view);
    Key* key = nullptr;
    if (long result = Check(hive, path, RegAccess::ReadWrite, key); result != kRegOk) {
        return result;
    }
    auto found = std::find_if(key->values.begin(), key->values.end(),
                              [&](const auto& value) { return EqualsIgnoreCase(value.first, name); });
    if (found == key->values.end()) {
        return kRegNotFound;
    }
    key->values.erase(found);
    return kRegOk;
}

long FakeRegistry::DeleteTree(Hive hive, const std::string& given, RegView view) {
    const std::string path = InView(hive, given, view);
    Key* key = nullptr;
    if (long result = Check(hive, path, RegAccess::All, key); result != kRegOk) {
        return result;
    }
    auto names = SplitKeyPath(path);
    if (names->empty()) {
        return kRegAccessDenied;  // a hive itself cannot be deleted
    }
    std::string parentPath = Join({names->begin(), names->end() - 1}, "\\");
    Key* parent = Find(hive, parentPath);
    auto& siblings = parent->subkeys;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(), [&](const auto& k) { return k.get() == key; }));
    return kRegOk;
}

long FakeRegistry::EnumerateSubkeys(Hive hive, const std::string& given, std::vector<std::string>& names,
                                    RegView view) {
    const std::string path = InView(hive, given, view);
    Key* key = nullptr;
    if (long result = Check(hive, path, RegAccess::Read, key); result != kRegOk) {
        return result;
    }
    names.clear();
    for (const auto& subkey : key->subkeys) {
        names.push_back(subkey->name);
    }
    return kRegOk;
}

long FakeRegistry::EnumerateValues(Hive hive, const std::string& given, std::vector<std::string>& names,
                                   RegView view) {
    const std::string path = InView(hive, given, view);
    Key* key = nullptr;
    if (long result = Check(hive, path, RegAccess::Read, key); result != kRegOk) {
        return result;
    }
    names.clear();
    for (const auto& value : key->values) {
        names.push_back(value.first);
    }
    return kRegOk;
}

long FakeRegistry::KeyIdentity(Hive hive, const std::string& path, RegView view, std::string& identity) {
    identity.clear();
    if (failKeyIdentity) {
        return platform::kRegAccessDenied;
    }
    const std::string real = InView(hive, path, view);
    Key* key = nullptr;
    if (long result = Check(hive, real, RegAccess::Read, key); result != kRegOk) {
        return result;
    }
    identity = ToLower(std::string(platform::HiveName(hive)) + "\\" + Join(*SplitKeyPath(real), "\\"));
    return kRegOk;
}

std::string FakeRegistry::InView(Hive hive, const std::string& path, RegView view) const {
    auto names = SplitKeyPath(path);
    if (view != RegView::Bits32 || !names) {
        return path;
    }
    for (const auto& [sharedHive, prefix] : shared_) {
        if (sharedHive == hive && StartsWithNames(*names, prefix)) {
            return path;
        }
    }
    // Where the 32-bit twins of the keys below lie.
    std::size_t split = 0;
    if (hive == Hive::ClassesRoot) {
        split = 0;
    } else if ((hive == Hive::LocalMachine || hive == Hive::CurrentUser) &&
               StartsWithNames(*names, {"software", "classes"})) {
        split = 2;
    } else if (hive == Hive::LocalMachine && StartsWithNames(*names, {"software"})) {
        split = 1;
    } else {
        return path;
    }
    if (names->size() <= split || EqualsIgnoreCase((*names)[split], "Wow6432Node")) {
        return path;
    }
    names->insert(names->begin() + static_cast<std::ptrdiff_t>(split), "Wow6432Node");
    return Join(*names, "\\");
}

void FakeRegistry::ShareKey(Hive hive, const std::string& path) {
    auto names = SplitKeyPath(path);
    if (!names) {
        throw std::invalid_argument("FakeRegistry: invalid key path " + path);
    }
    shared_.emplace_back(hive, *names);
}

void FakeRegistry::AddKey(Hive hive, const std::string& path) {
    if (!FindOrCreate(hive, path)) {
        throw std::invalid_argument("FakeRegistry: invalid key path " + path);
    }
}

void FakeRegistry::Set(Hive hive, const std::string& path, const std::string& name, const RegValue& value) {
    Key* key = FindOrCreate(hive, path);
    if (!key) {
        throw std::invalid_argument("FakeRegistry: invalid key path " + path);
    }
    if (auto* existing = key->Value(name)) {
        existing->second = value;
    } else {
        key->values.emplace_back(name, value);
    }
}

void FakeRegistry::SetString(Hive hive, const std::string& path, const std::string& name, const std::string& text) {
    Set(hive, path, name, RegValue::String(text));
}

void FakeRegistry::SetDword(Hive hive, const std::string& path, const std::string& name, std::uint32_t number) {
    Set(hive, path, name, RegValue::Dword(number));
}

void FakeRegistry::DenyAccess(Hive hive, const std::string& keyPrefix, RegAccess minimumDenied) {
    auto names = SplitKeyPath(keyPrefix);
    if (!names) {
        throw std::invalid_argument("FakeRegistry: invalid key prefix " + keyPrefix);
    }
    denials_.push_back({hive, *names, minimumDenied});
}

void FakeRegistry::ClearAccessDenials() {
    denials_.clear();
}

bool FakeRegistry::HasKey(Hive hive, const std::string& path) const {
    return Find(hive, path) != nullptr;
}

bool FakeRegistry::HasValue(Hive hive, const std::string& path, const std::string& name) const {
    return GetValue(hive, path, name).has_value();
}

std::optional<RegValue> FakeRegistry::GetValue(Hive hive, const std::string& path, const std::string& name) const {
    Key* key = Find(hive, path);
    if (!key) {
        return std::nullopt;
    }
    auto* value = key->Value(name);
    if (!value) {
        return std::nullopt;
    }
    return value->second;
}

std::optional<std::string> FakeRegistry::GetString(Hive hive, const std::string& path, const std::string& name) const {
    auto value = GetValue(hive, path, name);
    if (!value || (value->type != platform::RegType::String && value->type != platform::RegType::ExpandString)) {
        return std::nullopt;
    }
    return value->text;
}

std::vector<std::string> FakeRegistry::Subkeys(Hive hive, const std::string& path) const {
    std::vector<std::string> names;
    if (Key* key = Find(hive, path)) {
        for (const auto& subkey : key->subkeys) {
            names.push_back(subkey->name);
        }
    }
    return names;
}

std::vector<std::string> FakeRegistry::ValueNames(Hive hive, const std::string& path) const {
    std::vector<std::string> names;
    if (Key* key = Find(hive, path)) {
        for (const auto& value : key->values) {
            names.push_back(value.first);
        }
    }
    return names;
}

}  // namespace bastion::testing
