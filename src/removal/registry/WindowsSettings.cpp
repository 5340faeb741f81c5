#include "removal/registry/WindowsSettings.h"

#include <cctype>
#include <string_view>

#include "common/Text.h"

namespace bastion {

namespace {

constexpr std::string_view kWinlogonKeys[] = {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
                                              "Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon"};

// Without these Windows does not start, nobody can log on, or the machine
// is cut off the network or left without its firewall.
constexpr std::string_view kEssentialServices[] = {
    "AFD",       "Appinfo",   "BFE",          "BrokerInfrastructure", "CoreMessagingRegistrar", "CryptSvc",
    "DcomLaunch", "Dhcp",     "Dnscache",     "EventLog",             "EventSystem",            "gpsvc",
    "KeyIso",    "LanmanServer", "LanmanWorkstation", "LSM",          "mpsdrv",                 "MpsSvc",
    "Netlogon",  "Netman",    "netprofm",     "NlaSvc",               "nsi",                    "PlugPlay",
    "Power",     "ProfSvc",   "RpcEptMapper", "RpcSs",                "SamSs",                  "Schedule",
    "SENS",      "SystemEventsBroker", "Tcpip", "Tcpip6",             "TrustedInstaller",       "UserManager",
    "Wcmsvc",    "WinDefend", "Winmgmt",      "wscsvc",
};

// "SYSTEM\CurrentControlSet\Services\" or "SYSTEM\ControlSet001\Services\":
// where the path goes on after it; 0 for another path.
std::size_t AfterServices(const std::string& key) {
    std::size_t at = 0;
    if (StartsWithIgnoreCase(key, "SYSTEM\\CurrentControlSet\\")) {
        at = std::string_view("SYSTEM\\CurrentControlSet\\").size();
    } else if (StartsWithIgnoreCase(key, "SYSTEM\\ControlSet") && key.size() > 21 &&
               std::isdigit(static_cast<unsigned char>(key[17])) && std::isdigit(static_cast<unsigned char>(key[18])) &&
               std::isdigit(static_cast<unsigned char>(key[19])) && key[20] == '\\') {
        at = 21;
    } else {
        return 0;
    }
    constexpr std::string_view kServices = "Services\\";
    return StartsWithIgnoreCase(std::string_view(key).substr(at), kServices) ? at + kServices.size() : 0;
}

}  // namespace

std::optional<platform::RegValue> WindowsDefaultValue(platform::Hive hive, const std::string& given,
                                                      const std::string& name, const std::string& systemFolder) {
    std::string key = given;
    while (!key.empty() && key.back() == '\\') key.pop_back();
    if (hive != platform::Hive::LocalMachine) return std::nullopt;
    bool winlogon = false;
    for (std::string_view one : kWinlogonKeys) winlogon = winlogon || EqualsIgnoreCase(key, one);
    if (!winlogon) return std::nullopt;
    if (EqualsIgnoreCase(name, "Shell")) return platform::RegValue::String("explorer.exe");
    if (EqualsIgnoreCase(name, "Userinit")) return platform::RegValue::String(systemFolder + "\\userinit.exe,");
    return std::nullopt;
}

bool IsServiceWindowsNeeds(platform::Registry& registry, platform::Hive hive, const std::string& key,
                           platform::RegView view) {
    if (hive != platform::Hive::LocalMachine) return false;
    const std::size_t from = AfterServices(key);
    if (from == 0) return false;
    const std::string name = key.substr(from, key.find('\\', from) - from);
    if (name.empty()) return false;
    for (std::string_view service : kEssentialServices) {
        if (EqualsIgnoreCase(name, service)) return true;
    }
    // Boot (0) and system (1) drivers start before any service.
    platform::RegValue start;
    return registry.QueryValue(hive, key.substr(0, from) + name, "Start", start, view) == platform::kRegOk &&
           start.type == platform::RegType::Dword && start.number <= 1;
}

}  // namespace bastion
