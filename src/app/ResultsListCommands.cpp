#include "app/ResultsListCommands.h"

#include "platform/SystemPrograms.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

void lvwResults_ColumnClick(ui::ListView& results, int column) {
    if (results.Empty() || column < 0 || static_cast<std::size_t>(column) >= results.Columns().size()) return;
    results.Sort(column, !results.SortAscending());
}

ShowInToolCommand DoubleClickCommand(platform::Shell& shell, const ui::ListItem& row, const std::string& location) {
    if (row.smallIcon == ui::kIconRegistry) {
        return {platform::SystemProgramCommand(shell, platform::kRegistryEditor), platform::ShowWindow::Minimized};
    }
    // The folder that holds the item: the location up to and with its last
    // backslash, so a folder location ending in one opens that folder.
    const std::size_t last = location.rfind('\\');
    const std::string folder = last == std::string::npos ? location : location.substr(0, last + 1);
    return {platform::SystemProgramCommand(shell, platform::kExplorer, platform::QuotedPath(folder)),
            platform::ShowWindow::Normal};
}

void lvwResults_DblClick(const ui::ListView& results, std::size_t row, platform::Shell& shell) {
    if (row >= results.Count()) return;
    const ShowInToolCommand command = DoubleClickCommand(shell, results.Item(row), results.SubItem(row, 1));
    shell.StartProgram(command.commandLine, command.show);
}

}  // namespace bastion
