// Facts about the machine and the running program.
#pragma once

#include <cstdint>
#include <string>

namespace bastion::platform {

// The platform ids Windows reports for its two families.
inline constexpr std::uint32_t kWindows95Family = 1;
inline constexpr std::uint32_t kWindowsNtFamily = 2;

struct OsVersion {
    std::uint32_t platformId = kWindowsNtFamily;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    virtual OsVersion GetOsVersion() = 0;
    // The system folder (C:\WINDOWS\system32), without a trailing backslash.
    virtual std::string SystemFolder() = 0;
    virtual std::string UserName() = 0;
    virtual std::string ComputerName() = 0;
    // The running program's own file ("C:\Program Files\Bastion\Bastion.exe").
    virtual std::string ProgramPath() = 0;
    // The system's 8-bit code page (1252 in Western Europe).
    virtual unsigned AnsiCodePage() = 0;
    // The user's user-interface language as a Windows language identifier
    // (0x0407 for German in Germany).
    virtual std::uint16_t UserInterfaceLanguage() = 0;
    // The text with its environment strings ("%SystemRoot%") replaced by
    // their values; unknown ones stay as written.
    virtual std::string ExpandEnvironment(const std::string& text) = 0;
};

}  // namespace bastion::platform
