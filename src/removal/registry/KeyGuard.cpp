#include "removal/registry/KeyGuard.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "common/Text.h"

namespace bastion {

namespace {

// The classes whose "shell\open\command" starts a program, and the
// extensions that name them.
constexpr std::string_view kStartingClasses[] = {"exefile", "lnkfile", "batfile", "comfile",
                                                 "cmdfile", "piffile", "regfile"};
constexpr std::string_view kStartingExtensions[] = {".exe", ".lnk", ".bat", ".com", ".cmd", ".pif", ".reg"};
constexpr std::string_view kClassRoots[] = {"CLSID", "Interface", "TypeLib", "AppID", "Wow6432Node"};

// Below a software key (HKLM\Software, HKCU\Software, HKU\<SID>\Software,
// and their 32-bit twins below Wow6432Node).
constexpr std::string_view kSoftwareKeys[] = {
    "Microsoft\\Windows\\CurrentVersion\\Run",
    "Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
    "Policies",
};
// Below HKEY_LOCAL_MACHINE\Software (and its 32-bit twin): who has a
// profile where.
constexpr std::string_view kMachineSoftwareKeys[] = {"Microsoft\\Windows NT\\CurrentVersion\\ProfileList"};
// Below HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet.
constexpr std::string_view kControlSetKeys[] = {"Services", "Control", "Control\\Session Manager"};

// The keys of a classes root (HKCR itself, or a Software\Classes key).
void AddClassKeys(const std::string& root, std::vector<std::string>& keys) {
    for (std::string_view name : kStartingClasses) keys.push_back(root + std::string(name) + "\\shell\\open\\command");
    for (std::string_view name : kStartingExtensions) keys.push_back(root + std::string(name));
    for (std::string_view name : kClassRoots) keys.push_back(root + std::string(name));
}

// The software key's own keys and those of its 32-bit twin, and both
// classes roots (Software\Classes\Wow6432Node is one of the class roots).
void AddSoftwareKeys(const std::string& software, std::vector<std::string>& keys) {
    for (const std::string& root : {software + "\\", software + "\\Wow6432Node\\"}) {
        for (std::string_view key : kSoftwareKeys) keys.push_back(root + std::string(key));
        AddClassKeys(root + "Classes\\", keys);
    }
}

const std::vector<std::string>& UserKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> list;
        AddSoftwareKeys("Software", list);
        return list;
    }();
    return keys;
}

const std::vector<std::string>& MachineKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> list;
        AddSoftwareKeys("Software", list);
        for (const char* root : {"Software\\", "Software\\Wow6432Node\\"}) {
            for (std::string_view key : kMachineSoftwareKeys) list.push_back(root + std::string(key));
        }
        for (std::string_view key : kControlSetKeys) list.push_back("SYSTEM\\CurrentControlSet\\" + std::string(key));
        return list;
    }();
    return keys;
}

const std::vector<std::string>& ClassKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> list;
        AddClassKeys("", list);
        return list;
    }();
    return keys;
}

bool IsAtOrAbove(const std::string& key, const std::vector<std::string>& guarded) {
    return std::any_of(guarded.begin(), guarded.end(), [&key](const std::string& one) {
        return EqualsIgnoreCase(key, one) || StartsWithIgnoreCase(one, key + "\\");
    });
}

// "SYSTEM\ControlSet001\..." is what "SYSTEM\CurrentControlSet\..." links
// to.
std::string AsCurrentControlSet(const std::string& key) {
    constexpr std::string_view kNumbered = "SYSTEM\\ControlSet";
    const std::size_t digits = kNumbered.size();
    if (!StartsWithIgnoreCase(key, kNumbered) || key.size() < digits + 3) return key;
    for (std::size_t i = digits; i < digits + 3; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(key[i]))) return key;
    }
    return "SYSTEM\\CurrentControlSet" + key.substr(digits + 3);
}

}  // namespace

bool IsGuardedRegistryKey(platform::Hive hive, const std::string& given) {
    std::string key = given;
    while (!key.empty() && key.back() == '\\') key.pop_back();
    if (key.empty() || key.front() == '\\' || Contains(key, "\\\\")) return true;
    const std::size_t first = key.find('\\');
    switch (hive) {
    case platform::Hive::ClassesRoot: return IsAtOrAbove(key, ClassKeys());
    case platform::Hive::CurrentUser: return first == std::string::npos || IsAtOrAbove(key, UserKeys());
    case platform::Hive::LocalMachine:
        return first == std::string::npos || IsAtOrAbove(AsCurrentControlSet(key), MachineKeys());
    case platform::Hive::Users: {
        // A user's hive ("S-1-5-21-...") and the classes beside it
        // ("S-1-5-21-..._Classes") under their own names.
        if (first == std::string::npos) return true;
        const std::string rest = key.substr(first + 1);
        return EndsWithIgnoreCase(key.substr(0, first), "_Classes") ? IsAtOrAbove(rest, ClassKeys())
                                                                    : IsAtOrAbove(rest, UserKeys());
    }
    default: return first == std::string::npos;
    }
}

}  // namespace bastion
