#include "platform/LineFile.h"

#include "common/Lines.h"

namespace bastion::platform {

std::optional<std::vector<std::string>> ReadLines(FileSystem& files, const std::string& path) {
    std::optional<std::string> content = files.ReadFile(path);
    if (!content) {
        return std::nullopt;
    }
    return SplitLines(*content);
}

bool AppendLine(FileSystem& files, const std::string& path, const std::string& line) {
    std::string bytes;
    const std::optional<char> last = files.LastByte(path);
    if (last && *last != '\n' && *last != '\r') bytes += kCrLf;
    bytes += line;
    bytes += kCrLf;
    return files.AppendFile(path, bytes);
}

bool WriteFileReplacing(FileSystem& files, const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    // A temporary that failed to write or to take the original's place is
    // half-written or stale: it must not linger beside the original.
    // On the disk before the rename: a power cut then leaves the old file
    // or the new one, never an empty one.
    if (!files.WriteFileFlushed(temporary, bytes)) {
        files.DeleteFile(temporary);
        return false;
    }
    if (!files.MoveReplace(temporary, path)) {
        files.DeleteFile(temporary);
        return false;
    }
    return true;
}

bool WriteLinesReplacing(FileSystem& files, const std::string& path, const std::vector<std::string>& lines) {
    return WriteFileReplacing(files, path, JoinLinesCrLf(lines));
}

}  // namespace bastion::platform
