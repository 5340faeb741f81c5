// The splash window: a borderless card in the middle of the screen with the
// program icon, the product name on the header colour, the maker, the
// version, and a thin bar that fills while the splash counts. No task bar
// button (it is a tool window), and the close keys do not end it: the main
// window follows at the end of the count.
#pragma once

#include <cstdint>

#include "ui/forms/FrmSplash.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class SplashWindow final : public FormWindow {
public:
    explicit SplashWindow(ui::FrmSplash& form);
    ~SplashWindow() override;

    bool Create();

protected:
    void CreateControls() override {}
    void Layout(const ui::Rect&) override {}
    void PaintBackground(HDC dc, const RECT& client) override;
    void AfterSync() override;

private:
    int S(int units) const { return ui::Scale(units, Dpi()); }
    void DrawText(HDC dc, const std::string& text, RECT area, FontRole font, COLORREF colour);

    ui::FrmSplash& splash_;
    UniqueIcon icon_;
    int iconSize_ = 0;
    // What the window showed last: a change of these repaints it.
    std::uint64_t paintedCaptions_ = 0;
    std::int16_t paintedCounter_ = 0;
};

}  // namespace bastion::win32
