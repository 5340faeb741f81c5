// A native tab control for a model tab strip: the user's choice of a tab
// goes to the model's Select, which fires its handler (that shows the
// tab's frame).
#pragma once

#include <string>
#include <vector>

#include "ui/forms/Controls.h"
#include "ui/layout/Geometry.h"
#include "ui/win32/NativeControl.h"

namespace bastion::win32 {

class TabStripControl : public NativeControl {
public:
    explicit TabStripControl(ui::TabStrip& model) : NativeControl(model), model_(model) {}
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

    // The part of the given control bounds below the tabs, where the frames
    // of the tabs lie, in the same coordinates.
    ui::Rect DisplayArea(const ui::Rect& bounds) const;

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;

private:
    ui::TabStrip& model_;
    std::vector<std::string> shownTabs_;
};

}  // namespace bastion::win32
