// Special folders, the shell's "open" action, program start and the
// clipboard.
#pragma once

#include "platform/Shell.h"

namespace bastion::win32 {

class Win32Shell final : public platform::Shell {
public:
    std::optional<std::string> SpecialFolderPath(int csidl) override;
    std::optional<std::string> ProgramsFolderFromIdList() override;
    std::optional<std::string> AllUsersProfilePath() override;
    std::optional<std::string> DownloadsFolderPath() override;
    bool Open(const std::string& target, platform::ShowWindow show) override;
    bool StartProgram(const std::string& commandLine, platform::ShowWindow show) override;
    bool StartElevated(const std::string& programPath, const std::string& arguments) override;
    bool SetClipboardText(const std::string& text) override;
    std::optional<std::string> GetClipboardText() override;
};

}  // namespace bastion::win32
