#include "definitions/DefinitionFile.h"

#include "definitions/DefinitionCodec.h"
#include "platform/LineReader.h"

namespace bastion {

bool ReadDefinitionLines(platform::FileSystem& files, const CodePage& codePage, const std::string& path,
                         const std::function<bool(const std::string& line)>& onLine) {
    platform::LineReader reader(files, path);
    if (!reader.Opened()) return false;
    std::string bytes;
    while (reader.Next(bytes)) {
        if (!onLine(codePage.ToUtf8(DecodeDefinitionText(bytes)))) break;
    }
    return true;
}

std::string EncodeDefinitionLine(const CodePage& codePage, const std::string& line) {
    return EncodeDefinitionText(codePage.FromUtf8(line));
}

}  // namespace bastion
