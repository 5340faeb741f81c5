// A native tab control for a model tab strip: the user's choice of a tab
// goes to the model's Select, which fires its handler (that shows the
// tab's frame). Only the row of tabs is the control; the frames lie below
// it.
#pragma once

#include <string>
#include <vector>

#include "ui/forms/Controls.h"
#include "ui/win32/NativeControl.h"

namespace bastion::win32 {

class TabStripControl : public NativeControl {
public:
    explicit TabStripControl(ui::TabStrip& model) : NativeControl(model), model_(model) {}
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    void ApplyFonts() override;

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;

private:
    static LRESULT CALLBACK PaintProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self);
    void Paint(HDC dc);
    // The tab width: the usual one, or less when the strip is too narrow.
    void FitTabs();
    void PaintTab(HDC dc, int index, const RECT& bounds);

    ui::TabStrip& model_;
    std::vector<std::string> shownTabs_;
};

}  // namespace bastion::win32
