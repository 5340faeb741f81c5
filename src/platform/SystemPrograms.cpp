#include "platform/SystemPrograms.h"

namespace bastion::platform {

std::string QuotedPath(std::string_view path) {
    const bool driveRoot = path.size() == 3 && path[1] == ':' && path[2] == '\\';
    if (driveRoot) return std::string(path);
    while (path.size() > 1 && path.back() == '\\') path.remove_suffix(1);
    std::string quoted = "\"";
    return quoted.append(path).append("\"");
}

std::string SystemProgramCommand(Shell& shell, std::string_view program, std::string_view arguments) {
    std::string windows = shell.SpecialFolderPath(csidl::kWindows).value_or(std::string());
    std::string command;
    if (windows.empty()) {
        command = program;
    } else {
        if (windows.back() != '\\') windows += '\\';
        command = QuotedPath(windows + std::string(program));
    }
    if (!arguments.empty()) command.append(" ").append(arguments);
    return command;
}

}  // namespace bastion::platform
