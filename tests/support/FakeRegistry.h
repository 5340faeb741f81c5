// An in-memory registry: the six hives, keys and values compared ignoring
// case while keeping the case they were stored with, subkeys and values
// enumerated in creation order, and access denial per key prefix so that a
// test can play a user without administrative rights.
//
// Views as on 64-bit Windows: the default view is the 64-bit one; in the
// 32-bit view a key below HKEY_LOCAL_MACHINE\Software, below
// HKEY_LOCAL_MACHINE\Software\Classes or HKEY_CURRENT_USER\Software\Classes,
// or below HKEY_CLASSES_ROOT lies under a "Wow6432Node" key there, unless
// it is below a key both views share (ShareKey). Everything else, and the
// setup and assertions without a view, is the 64-bit view.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace bastion::testing {

class FakeRegistry : public platform::Registry {
public:
    FakeRegistry();
    ~FakeRegistry() override;

    // platform::Registry
    long OpenKey(platform::Hive hive, const std::string& path, platform::RegAccess access,
                 platform::RegView view = platform::RegView::Default) override;
    long CreateKey(platform::Hive hive, const std::string& path,
                   platform::RegView view = platform::RegView::Default) override;
    long QueryValue(platform::Hive hive, const std::string& path, const std::string& name, platform::RegValue& out,
                    platform::RegView view = platform::RegView::Default) override;
    long SetValue(platform::Hive hive, const std::string& path, const std::string& name,
                  const platform::RegValue& value, platform::RegView view = platform::RegView::Default) override;
    long DeleteValue(platform::Hive hive, const std::string& path, const std::string& name,
                     platform::RegView view = platform::RegView::Default) override;
    long DeleteTree(platform::Hive hive, const std::string& path,
                    platform::RegView view = platform::RegView::Default) override;
    long EnumerateSubkeys(platform::Hive hive, const std::string& path, std::vector<std::string>& names,
                          platform::RegView view = platform::RegView::Default) override;
    long EnumerateValues(platform::Hive hive, const std::string& path, std::vector<std::string>& names,
                         platform::RegView view = platform::RegView::Default) override;
    // The hive's name and the key's path in the default view, lower-cased.
    long KeyIdentity(platform::Hive hive, const std::string& path, platform::RegView view,
                     std::string& identity) override;

    // The path the key has in the default view.
    std::string InView(platform::Hive hive, const std::string& path, platform::RegView view) const;
    // Keys at or below the path are the same in both views.
    void ShareKey(platform::Hive hive, const std::string& path);
    bool failKeyIdentity = false;

    // Setup. These ignore access denial and create the key with its parents.
    void AddKey(platform::Hive hive, const std::string& path);
    void Set(platform::Hive hive, const std::string& path, const std::string& name, const platform::RegValue& value);
    void SetString(platform::Hive hive, const std::string& path, const std::string& name, const std::string& text);
    void SetDword(platform::Hive hive, const std::string& path, const std::string& name, std::uint32_t number);

    // Opening keys at or below keyPrefix ("" for the whole hive) with
    // minimumDenied or more access fails with kRegAccessDenied. Creating keys
    // and writing or deleting values needs ReadWrite; deleting a key tree
    // needs All.
    void DenyAccess(platform::Hive hive, const std::string& keyPrefix, platform::RegAccess minimumDenied);
    void ClearAccessDenials();

    // Assertions (access denial does not apply).
    bool HasKey(platform::Hive hive, const std::string& path) const;
    bool HasValue(platform::Hive hive, const std::string& path, const std::string& name) const;
    std::optional<platform::RegValue> GetValue(platform::Hive hive, const std::string& path,
                                               const std::string& name) const;
    // The text of a string value; nullopt when absent or not a string type.
    std::optional<std::string> GetString(platform::Hive hive, const std::string& path, const std::string& name) const;
    // Names of the subkeys and values, as stored, in creation order.
    std::vector<std::string> Subkeys(platform::Hive hive, const std::string& path) const;
    std::vector<std::string> ValueNames(platform::Hive hive, const std::string& path) const;

private:
    struct Key;
    struct Denial {
        platform::Hive hive;
        std::vector<std::string> prefix;  // folded key names
        platform::RegAccess minimumDenied;
    };

    Key* Root(platform::Hive hive) const;
    Key* Find(platform::Hive hive, const std::string& path) const;
    Key* FindOrCreate(platform::Hive hive, const std::string& path);
    bool Denied(platform::Hive hive, const std::string& path, platform::RegAccess access) const;
    long Check(platform::Hive hive, const std::string& path, platform::RegAccess access, Key*& key) const;

    std::vector<std::unique_ptr<Key>> hives_;
    std::vector<Denial> denials_;
    // Shared keys: hive and folded key names.
    std::vector<std::pair<platform::Hive, std::vector<std::string>>> shared_;
};

}  // namespace bastion::testing
