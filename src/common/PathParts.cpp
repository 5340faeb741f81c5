#include "common/PathParts.h"

#include <algorithm>

namespace bastion {

std::string FolderOfPath(std::string_view path) {
    const std::size_t separator = path.rfind('\\');
    return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator));
}

std::string FileNameOfPath(std::string_view path) {
    const std::size_t separator = path.rfind('\\');
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string FileTitleOfPath(std::string_view path) {
    std::string name = FileNameOfPath(path);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

bool IsDrivePath(std::string_view path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return false;
    const char letter = path[0];
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

bool IsNetworkPath(std::string_view path) {
    return path.size() > 2 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
}

std::string RootOfPath(std::string_view path) {
    std::size_t end = path.find('\\');
    if (IsNetworkPath(path)) {
        // Past the server and the share.
        end = path.find('\\', 2);
        if (end != std::string_view::npos) end = path.find('\\', end + 1);
    }
    std::string root(path.substr(0, std::min(end, path.size())));
    return root.append("\\");
}

}  // namespace bastion
