// A list view as data: columns, and rows of text with sub-items, icons, a
// check state and a tag. The result lists of a scan live in these; the
// native window only shows them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/forms/Controls.h"

namespace bastion::ui {

struct ListColumn {
    std::string text;
    double widthTwips = 1400;
};

struct ListItem {
    std::string text;
    // Sub-item k (from 1) is subItems[k - 1]; missing ones read as empty.
    std::vector<std::string> subItems;
    int icon = 0;
    int smallIcon = 0;
    bool checked = false;
    std::string tag;
    // The record the row shows (a detection's id), whatever order the list
    // is sorted in; 0 for none.
    std::uint64_t id = 0;
};

class ListView : public Control {
public:
    using Control::Control;
    const char* TypeName() const override { return "ListView"; }

    bool checkBoxes = false;

    void AddColumn(std::string text, double widthTwips = 1400);
    const std::vector<ListColumn>& Columns() const { return columns_; }
    void SetColumnText(std::size_t index, std::string text);
    void SetColumnWidth(std::size_t index, double widthTwips);

    std::size_t Count() const { return rows_.size(); }
    bool Empty() const { return rows_.empty(); }
    const ListItem& Item(std::size_t row) const { return rows_[row]; }
    const std::vector<ListItem>& Rows() const { return rows_; }

    // Adds a row at the end; returns its index.
    std::size_t Add(std::string text, int smallIcon = 0, int icon = 0);
    void RemoveAt(std::size_t row);
    // Removes every checked row, keeping the order of the others; returns
    // how many went.
    std::size_t RemoveChecked();
    void Clear();

    const std::string& SubItem(std::size_t row, std::size_t k) const;
    void SetSubItem(std::size_t row, std::size_t k, std::string text);
    void SetText(std::size_t row, std::string text);
    void SetTag(std::size_t row, std::string tag);
    void SetId(std::size_t row, std::uint64_t id);
    void SetIcons(std::size_t row, int smallIcon, int icon);
    // Sets the check state without the user's tick handling.
    void SetChecked(std::size_t row, bool checked);
    // The user's tick: sets the state and runs onItemCheck(row).
    void ItemCheck(std::size_t row, bool checked);

    // Index of the last row; the list must not be empty.
    std::size_t Last() const { return rows_.size() - 1; }

    // Sorting by a column's text (0 = the row text), ignoring case; stable.
    bool Sorted() const { return sorted_; }
    int SortKey() const { return sortKey_; }
    bool SortAscending() const { return sortAscending_; }
    void Sort(int column, bool ascending);

    std::function<void(std::size_t row)> onItemCheck;
    std::function<void(int column)> onColumnClick;  // column from 0
    std::function<void(std::size_t row)> onDoubleClick;

private:
    std::vector<ListColumn> columns_;
    std::vector<ListItem> rows_;
    bool sorted_ = false;
    int sortKey_ = 0;
    bool sortAscending_ = true;
};

}  // namespace bastion::ui
