#include "scan/processes/WindowsProcesses.h"

#include "common/PathParts.h"
#include "common/Text.h"

namespace bastion {

namespace {

constexpr std::string_view kSystemPrograms[] = {"SMSS.EXE",     "CSRSS.EXE", "WININIT.EXE", "WINLOGON.EXE",
                                                "SERVICES.EXE", "LSASS.EXE", "SVCHOST.EXE"};
constexpr std::string_view kShell = "EXPLORER.EXE";

}  // namespace

bool IsPartOfWindows(platform::FileSystem& files, std::string_view comparablePath, std::string_view systemFolder) {
    const std::string name = FileNameOfPath(comparablePath);
    const std::string folder = FolderOfPath(comparablePath);
    bool systemProgram = false;
    for (std::string_view program : kSystemPrograms) systemProgram = systemProgram || name == program;
    if (!systemProgram && name != kShell) return false;
    // Compared as the program's own path is: by its final path.
    std::string system = ToUpper(Trim(files.FinalPath(std::string(systemFolder))));
    while (!system.empty() && system.back() == '\\') system.pop_back();
    return folder == (systemProgram ? system : FolderOfPath(system));
}

}  // namespace bastion
