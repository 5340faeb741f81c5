#include "definitions/Exclusions.h"

#include "common/Lines.h"
#include "common/Text.h"
#include "common/Utf.h"
#include "definitions/DataFiles.h"
#include "platform/LineFile.h"
#include "platform/SystemPrograms.h"
#include "services/messages/MessageKeys.h"

namespace bastion {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The file's bytes as UTF-8 text: after a mark they are UTF-8; without one
// they are taken as UTF-8 when they decode cleanly (an editor's "UTF-8"),
// and otherwise as the system code page.
std::string FileText(const CodePage& codePage, std::string_view bytes) {
    if (StartsWith(bytes, kByteOrderMark)) return std::string(bytes.substr(kByteOrderMark.size()));
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return codePage.ToUtf8(bytes);
}

}  // namespace

// A blank item would only add an empty line, which readers skip anyway.
bool AppendExclusion(const ExclusionFile& file, std::string_view item) {
    std::string trimmed = Trim(item);
    if (trimmed.empty()) return true;
    const std::string path = file.Path();
    if (!file.files.Lookup(path)) {
        return platform::WriteFileReplacing(file.files, path, std::string(kByteOrderMark) + trimmed + "\r\n");
    }
    std::optional<std::string> bytes = file.files.ReadFile(path);
    if (!bytes) return false;
    if (StartsWith(*bytes, kByteOrderMark)) return platform::AppendLine(file.files, path, trimmed);
    // Written in another form: the whole file becomes UTF-8 with a mark, so
    // that the new line and the old ones are read alike.
    std::string text(kByteOrderMark);
    text += FileText(file.codePage, *bytes);
    if (text.size() > kByteOrderMark.size() && text.back() != '\n' && text.back() != '\r') text += "\r\n";
    text.append(trimmed).append("\r\n");
    return platform::WriteFileReplacing(file.files, path, text);
}

std::optional<std::vector<std::string>> ReadExclusionLines(const ExclusionFile& file) {
    const std::optional<std::string> bytes = file.files.ReadFile(file.Path());
    if (!bytes) return std::nullopt;
    return SplitLines(FileText(file.codePage, *bytes));
}

std::string ExclusionFile::Path() const {
    return DataFilePath(dataFolder, datafile::kExclusions);
}

void LoadExclusions(const ExclusionFile& file, services::EventPump& pump, ExclusionList& list) {
    list.Clear();
    const std::optional<std::vector<std::string>> lines = ReadExclusionLines(file);
    if (!lines) return;
    for (const std::string& line : *lines) {
        list.Add(line);
        pump.Pump();
    }
}

bool AddExclusion(const ExclusionFile& file, services::EventPump& pump, ExclusionList& list, std::string_view item) {
    bool written = AppendExclusion(file, item);
    LoadExclusions(file, pump, list);
    return written;
}

bool AddExclusions(const ExclusionFile& file, services::EventPump& pump, ExclusionList& list,
                   const std::vector<std::string>& items) {
    bool written = true;
    for (const std::string& item : items) {
        written = AppendExclusion(file, item) && written;
    }
    LoadExclusions(file, pump, list);
    return written;
}

void ViewExclusions(const ExclusionFile& file, platform::Shell& shell, services::Dialogs& dialogs,
                    const services::MessageCatalogue& messages) {
    if (DataFileExists(file.files, file.dataFolder, datafile::kExclusions)) {
        shell.StartProgram(platform::SystemProgramCommand(shell, platform::kNotepad, platform::QuotedPath(file.Path())),
                           platform::ShowWindow::Normal);
        return;
    }
    dialogs.MessageBox(messages.getMessages(services::msg::kExclude1), messages.getMessages(services::msg::kExclude2),
                       services::MsgButtons::Ok, services::MsgIcon::None);
}

}  // namespace bastion
