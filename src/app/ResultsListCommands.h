// The mouse on the results list: a header click sorts by that column, a
// double click shows where a detection lives (the registry editor for a
// registry entry, the folder in Explorer for anything on disk).
#pragma once

#include <cstddef>
#include <string>

#include "platform/Shell.h"
#include "ui/forms/ListView.h"

namespace bastion {

// Sorts a non-empty list by the column's text, the order turning at every
// click; the list starts ascending, so the first click sorts descending.
void lvwResults_ColumnClick(ui::ListView& results, int column);

// The command a double click on the row starts, and how its window shows.
struct ShowInToolCommand {
    std::string commandLine;
    platform::ShowWindow show = platform::ShowWindow::Normal;
};
ShowInToolCommand DoubleClickCommand(platform::Shell& shell, const ui::ListItem& row, const std::string& location);

void lvwResults_DblClick(const ui::ListView& results, std::size_t row, platform::Shell& shell);

}  // namespace bastion
