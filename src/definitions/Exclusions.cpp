#include "definitions/Exclusions.h"

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "platform/LineFile.h"
#include "platform/LineReader.h"
#include "platform/SystemPrograms.h"
#include "ui/MessageKeys.h"

namespace bastion {

// A blank item would only add an empty line, which readers skip anyway.
bool AppendExclusion(const ExclusionFile& file, std::string_view item) {
    std::string trimmed = Trim(item);
    if (trimmed.empty()) return true;
    return platform::AppendLine(file.files, file.Path(), file.codePage.FromUtf8(trimmed));
}

std::string ExclusionFile::Path() const {
    return DataFilePath(dataFolder, datafile::kExclusions);
}

void LoadExclusions(const ExclusionFile& file, ui::EventPump& pump, ExclusionList& list) {
    list.Clear();
    platform::LineReader reader(file.files, file.Path());
    if (!reader.Opened()) return;
    std::string bytes;
    while (reader.Next(bytes)) {
        list.Add(file.codePage.ToUtf8(bytes));
        pump.Pump();
    }
}

bool AddExclusion(const ExclusionFile& file, ui::EventPump& pump, ExclusionList& list, std::string_view item) {
    bool written = AppendExclusion(file, item);
    LoadExclusions(file, pump, list);
    return written;
}

bool AddExclusions(const ExclusionFile& file, ui::EventPump& pump, ExclusionList& list,
                   const std::vector<std::string>& items) {
    bool written = true;
    for (const std::string& item : items) {
        written = AppendExclusion(file, item) && written;
    }
    LoadExclusions(file, pump, list);
    return written;
}

void ViewExclusions(const ExclusionFile& file, platform::Shell& shell, ui::Dialogs& dialogs,
                    const ui::MessageCatalogue& messages) {
    if (DataFileExists(file.files, file.dataFolder, datafile::kExclusions)) {
        shell.StartProgram(platform::SystemProgramCommand(shell, platform::kNotepad, platform::QuotedPath(file.Path())),
                           platform::ShowWindow::Normal);
        return;
    }
    dialogs.MessageBox(messages.getMessages(ui::msg::kExclude1), messages.getMessages(ui::msg::kExclude2),
                       ui::MsgButtons::Ok, ui::MsgIcon::None);
}

}  // namespace bastion
