#include "common/PathParts.h"

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

}  // namespace bastion
