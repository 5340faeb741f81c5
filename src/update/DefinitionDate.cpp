#include "update/DefinitionDate.h"

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "platform/LineFile.h"

namespace bastion {

std::string ReadDefinitionDate(platform::FileSystem& files, const CodePage& codePage, std::string_view dataFolder) {
    auto lines = platform::ReadLines(files, DataFilePath(dataFolder, datafile::kDefinitionDate));
    if (!lines || lines->empty()) {
        return std::string(kDefaultDefinitionDate);
    }
    return codePage.ToUtf8(lines->front());
}

bool WriteDefinitionDate(platform::FileSystem& files, const CodePage& codePage, std::string_view dataFolder,
                         const std::string& date) {
    return platform::WriteLinesReplacing(files, DataFilePath(dataFolder, datafile::kDefinitionDate),
                                         {codePage.FromUtf8(date)});
}

std::string CleanDateAnswer(std::string_view answer) {
    std::string text = RemoveChars(Trim(answer), "\t\r\n");
    for (std::string_view marker : {"PM", "AM"}) {
        const std::size_t at = FindIgnoreCase(text, marker);
        if (at != std::string::npos) {
            text.resize(at + marker.size());
            break;
        }
    }
    return text;
}

}  // namespace bastion
