// Facts about the machine and the running program from kernel32, advapi32
// and ntdll.
#pragma once

#include "platform/SystemInfo.h"

namespace bastion::win32 {

class Win32SystemInfo final : public platform::SystemInfo {
public:
    platform::OsVersion GetOsVersion() override;
    std::string SystemFolder() override;
    std::string UserName() override;
    std::string ComputerName() override;
    std::string ProgramPath() override;
    unsigned AnsiCodePage() override;
    std::uint16_t UserInterfaceLanguage() override;
    std::string ExpandEnvironment(const std::string& text) override;
};

}  // namespace bastion::win32
