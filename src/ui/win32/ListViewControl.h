// A native list view over a model list: a virtual list (LVS_OWNERDATA) that
// asks the model for each visible row as it paints, so a list of 100,000
// rows costs nothing until it shows. Ticks go through the model's
// ItemCheck, header clicks and double clicks to its handlers; column widths
// follow the model's twips and a column the user resizes is written back.
#pragma once

#include <string>
#include <vector>

#include "ui/forms/ListView.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/NativeControl.h"

namespace bastion::win32 {

class ListViewControl : public NativeControl {
public:
    explicit ListViewControl(ui::ListView& model) : NativeControl(model), model_(model) {}
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    void ApplyFonts() override;
    // Not every system reports a column the user resized to the list's
    // parent, so the widths are compared at every push too.
    void ReadBack() override { ReadColumnWidths(); }

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;

private:
    struct ShownColumn {
        std::wstring text;
        int width = 0;
    };

    void SyncColumns();
    void SyncSortMark();
    void FillDisplayInfo(LVITEMW& item);
    void ToggleCheck(int row);
    // The user resized a column: the model learns its width in twips.
    void ReadColumnWidths();
    bool OnStateIcon(POINT point, int& row) const;

    ui::ListView& model_;
    UniqueImageList icons_;
    std::vector<ShownColumn> shownColumns_;
    int shownDpi_ = 0;
    int shownSortColumn_ = -1;
    bool shownAscending_ = true;
};

}  // namespace bastion::win32
