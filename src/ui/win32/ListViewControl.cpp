#include "ui/win32/ListViewControl.h"

#include <algorithm>

#include "platform/win32/WideText.h"
#include "ui/win32/ListIcons.h"

namespace bastion::win32 {

namespace {

void CopyText(const std::string& text, LVITEMW& item) {
    if (!item.pszText || item.cchTextMax <= 0) return;
    const std::wstring wide = Widen(text);
    const std::size_t length = std::min(wide.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    std::copy_n(wide.begin(), length, item.pszText);
    item.pszText[length] = L'\0';
}

}  // namespace

HWND ListViewControl::CreateNative(HWND parent, int id) {
    HWND list = MakeChild(parent, id, WC_LISTVIEWW,
                          WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                          WS_EX_CLIENTEDGE);
    if (!list) return nullptr;
    DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
    if (model_.checkBoxes) extended |= LVS_EX_CHECKBOXES;
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    // With owner data the check state lives in the model: the list asks
    // for the state image of each row it paints.
    if (model_.checkBoxes) ::SendMessageW(list, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    return list;
}

void ListViewControl::ApplyFonts() {
    NativeControl::ApplyFonts();
    const int dpi = Host().Dpi();
    if (dpi == shownDpi_ || !Hwnd()) return;
    shownDpi_ = dpi;
    icons_ = MakeListIcons(dpi);
    ::SendMessageW(Hwnd(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons_.Get()));
    // Widths in pixels follow the dpi; the model's twips stay.
    for (ShownColumn& column : shownColumns_) column.width = -1;
    SyncColumns();
}

void ListViewControl::Sync() {
    SyncColumns();
    const auto count = static_cast<WPARAM>(model_.Count());
    if (static_cast<WPARAM>(::SendMessageW(Hwnd(), LVM_GETITEMCOUNT, 0, 0)) != count) {
        ::SendMessageW(Hwnd(), LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    }
    // Rows are read from the model as they paint: a repaint shows every
    // change of text, icon or tick.
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    SyncSortMark();
    SyncState();
}

void ListViewControl::SyncColumns() {
    const auto& columns = model_.Columns();
    const int dpi = Host().Dpi();
    while (shownColumns_.size() > columns.size()) {
        ::SendMessageW(Hwnd(), LVM_DELETECOLUMN, shownColumns_.size() - 1, 0);
        shownColumns_.pop_back();
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::wstring text = Widen(columns[i].text);
        const int width = ui::TwipsToPixels(columns[i].widthTwips, dpi);
        LVCOLUMNW column{};
        column.pszText = text.data();
        column.cx = width;
        if (i >= shownColumns_.size()) {
            shownColumns_.push_back({text, width});
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            column.iSubItem = static_cast<int>(i);
            ::SendMessageW(Hwnd(), LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
            continue;
        }
        ShownColumn& shown = shownColumns_[i];
        column.mask = 0;
        if (shown.text != text) column.mask |= LVCF_TEXT;
        if (shown.width != width) column.mask |= LVCF_WIDTH;
        if (column.mask == 0) continue;
        // Noted first: setting the width reports a change of the header,
        // which must not read as the user's.
        shown = {text, width};
        ::SendMessageW(Hwnd(), LVM_SETCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

void ListViewControl::SyncSortMark() {
    const int sortColumn = model_.Sorted() ? model_.SortKey() : -1;
    if (sortColumn == shownSortColumn_ && model_.SortAscending() == shownAscending_) return;
    HWND header = reinterpret_cast<HWND>(::SendMessageW(Hwnd(), LVM_GETHEADER, 0, 0));
    if (!header) return;
    const int count = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == sortColumn) item.fmt |= model_.SortAscending() ? HDF_SORTUP : HDF_SORTDOWN;
        ::SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    shownSortColumn_ = sortColumn;
    shownAscending_ = model_.SortAscending();
}

void ListViewControl::FillDisplayInfo(LVITEMW& item) {
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= model_.Count()) {
        if (item.mask & LVIF_TEXT) CopyText({}, item);
        return;
    }
    const auto row = static_cast<std::size_t>(item.iItem);
    const ui::ListItem& data = model_.Item(row);
    if (item.mask & LVIF_TEXT) {
        CopyText(item.iSubItem == 0 ? data.text : model_.SubItem(row, static_cast<std::size_t>(item.iSubItem)), item);
    }
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) {
        item.iImage = data.smallIcon > 0 ? data.smallIcon - 1 : I_IMAGENONE;
    }
    if ((item.mask & LVIF_STATE) && model_.checkBoxes) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(data.checked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

void ListViewControl::ToggleCheck(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= model_.Count()) return;
    const auto index = static_cast<std::size_t>(row);
    model_.ItemCheck(index, !model_.Item(index).checked);
}

bool ListViewControl::OnStateIcon(POINT point, int& row) const {
    LVHITTESTINFO hit{};
    hit.pt = point;
    row = static_cast<int>(::SendMessageW(Hwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return row >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) != 0;
}

void ListViewControl::ReadColumnWidths() {
    if (!Hwnd()) return;
    const int dpi = Host().Dpi();
    for (std::size_t i = 0; i < shownColumns_.size(); ++i) {
        const int width = static_cast<int>(::SendMessageW(Hwnd(), LVM_GETCOLUMNWIDTH, i, 0));
        if (width == shownColumns_[i].width) continue;
        shownColumns_[i].width = width;
        model_.SetColumnWidth(i, ui::PixelsToTwips(width, dpi));
    }
}

bool ListViewControl::OnNotify(const NMHDR& header, LRESULT& result) {
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOW:
            FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item);
            return true;
        case NM_CLICK: {
            int row = -1;
            if (model_.checkBoxes && OnStateIcon(reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction, row)) {
                ToggleCheck(row);
            }
            return true;
        }
        case NM_DBLCLK: {
            const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
            int row = -1;
            if (model_.checkBoxes && OnStateIcon(activate.ptAction, row)) {
                // The second click of a quick double tick.
                ToggleCheck(row);
            } else if (activate.iItem >= 0 && static_cast<std::size_t>(activate.iItem) < model_.Count() &&
                       model_.onDoubleClick) {
                model_.onDoubleClick(static_cast<std::size_t>(activate.iItem));
            }
            return true;
        }
        case LVN_KEYDOWN: {
            if (model_.checkBoxes && reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_SPACE) {
                ToggleCheck(static_cast<int>(::SendMessageW(Hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                            LVNI_FOCUSED)));
            }
            return true;
        }
        case LVN_COLUMNCLICK:
            if (model_.onColumnClick) model_.onColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            return true;
        case HDN_ENDTRACKW:
        case HDN_ITEMCHANGEDW:
        case HDN_DIVIDERDBLCLICKW:
            ReadColumnWidths();
            return false;
        default:
            return false;
    }
}

}  // namespace bastion::win32
