// Facts about a Windows XP machine (NT 5.1) running Bastion from its usual
// folder; each can be changed per test.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/SystemInfo.h"

namespace bastion::testing {

class FakeSystemInfo : public platform::SystemInfo {
public:
    platform::OsVersion GetOsVersion() override { return osVersion; }
    std::string SystemFolder() override { return systemFolder; }
    std::string UserName() override { return userName; }
    std::string ComputerName() override { return computerName; }
    std::string ProgramPath() override { return programPath; }
    unsigned AnsiCodePage() override { return ansiCodePage; }
    std::uint16_t UserInterfaceLanguage() override { return uiLanguage; }
    // %SystemRoot% and %ProgramFiles% as on that machine.
    std::string ExpandEnvironment(const std::string& text) override;

    // The Windows 95 family (Windows 98 SE).
    void UseWindows9x() { osVersion = {1, 4, 10, 2222}; }

    platform::OsVersion osVersion{2, 5, 1, 2600};
    std::string systemFolder = "C:\\WINDOWS\\system32";
    std::string userName = "User";
    std::string computerName = "WORKSTATION";
    std::string programPath = "C:\\Program Files\\Bastion\\Bastion.exe";
    unsigned ansiCodePage = 1252;
    std::uint16_t uiLanguage = 0x0409;  // English (United States)
    std::vector<std::pair<std::string, std::string>> environment{{"SystemRoot", "C:\\WINDOWS"},
                                                                  {"ProgramFiles", "C:\\Program Files"}};
};

inline std::string FakeSystemInfo::ExpandEnvironment(const std::string& text) {
    std::string expanded = text;
    for (const auto& [name, value] : environment) {
        const std::string token = "%" + name + "%";
        for (std::size_t at = expanded.find(token); at != std::string::npos; at = expanded.find(token, at)) {
            expanded.replace(at, token.size(), value);
            at += value.size();
        }
    }
    return expanded;
}

}  // namespace bastion::testing
