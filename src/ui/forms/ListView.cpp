#include "ui/forms/ListView.h"

#include <algorithm>

#include "common/Text.h"

namespace bastion::ui {

namespace {
const std::string kEmpty;
}

void ListView::AddColumn(std::string text, double widthTwips) {
    columns_.push_back({std::move(text), widthTwips});
    Touch();
}

void ListView::SetColumnText(std::size_t index, std::string text) {
    if (index >= columns_.size() || columns_[index].text == text) return;
    columns_[index].text = std::move(text);
    Touch();
}

void ListView::SetColumnWidth(std::size_t index, double widthTwips) {
    if (index >= columns_.size() || columns_[index].widthTwips == widthTwips) return;
    columns_[index].widthTwips = widthTwips;
    Touch();
}

std::size_t ListView::Add(std::string text, int smallIcon, int icon) {
    ListItem item;
    item.text = std::move(text);
    item.smallIcon = smallIcon;
    item.icon = icon;
    rows_.push_back(std::move(item));
    Touch();
    return rows_.size() - 1;
}

void ListView::RemoveAt(std::size_t row) {
    if (row >= rows_.size()) return;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    Touch();
}

std::size_t ListView::RemoveChecked() {
    auto kept = std::remove_if(rows_.begin(), rows_.end(), [](const ListItem& item) { return item.checked; });
    auto removed = static_cast<std::size_t>(rows_.end() - kept);
    if (removed == 0) return 0;
    rows_.erase(kept, rows_.end());
    Touch();
    return removed;
}

void ListView::Clear() {
    if (rows_.empty()) return;
    rows_.clear();
    Touch();
}

const std::string& ListView::SubItem(std::size_t row, std::size_t k) const {
    if (row >= rows_.size() || k == 0) return kEmpty;
    const auto& subItems = rows_[row].subItems;
    return k <= subItems.size() ? subItems[k - 1] : kEmpty;
}

void ListView::SetSubItem(std::size_t row, std::size_t k, std::string text) {
    if (row >= rows_.size() || k == 0) return;
    auto& subItems = rows_[row].subItems;
    if (subItems.size() < k) subItems.resize(k);
    subItems[k - 1] = std::move(text);
    Touch();
}

void ListView::SetText(std::size_t row, std::string text) {
    if (row >= rows_.size()) return;
    rows_[row].text = std::move(text);
    Touch();
}

void ListView::SetTag(std::size_t row, std::string tag) {
    if (row >= rows_.size()) return;
    rows_[row].tag = std::move(tag);
    Touch();
}

void ListView::SetId(std::size_t row, std::uint64_t id) {
    if (row >= rows_.size()) return;
    rows_[row].id = id;
}

void ListView::SetIcons(std::size_t row, int smallIcon, int icon) {
    if (row >= rows_.size()) return;
    rows_[row].smallIcon = smallIcon;
    rows_[row].icon = icon;
    Touch();
}

void ListView::SetChecked(std::size_t row, bool checked) {
    if (row >= rows_.size() || rows_[row].checked == checked) return;
    rows_[row].checked = checked;
    Touch();
}

void ListView::ItemCheck(std::size_t row, bool checked) {
    if (row >= rows_.size()) return;
    SetChecked(row, checked);
    if (onItemCheck) onItemCheck(row);
}

void ListView::Sort(int column, bool ascending) {
    sorted_ = true;
    sortKey_ = column;
    sortAscending_ = ascending;
    auto key = [column](const ListItem& item) -> std::string {
        if (column <= 0) return ToLower(item.text);
        auto k = static_cast<std::size_t>(column);
        return k <= item.subItems.size() ? ToLower(item.subItems[k - 1]) : std::string();
    };
    std::stable_sort(rows_.begin(), rows_.end(), [&](const ListItem& a, const ListItem& b) {
        return ascending ? key(a) < key(b) : key(b) < key(a);
    });
    Touch();
}

}  // namespace bastion::ui
