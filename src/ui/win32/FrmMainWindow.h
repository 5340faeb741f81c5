// The main window: a coloured header band with the product name, a
// navigation column, the four pages stacked in the content area (a page
// shows exactly while its frame model is visible), the menu bar, and a
// footer with the website button. The layout follows the window's size and
// dpi; the pages' contents are laid out in FrmMainLayout.cpp and created in
// FrmMainPages.cpp.
#pragma once

#include <string>

#include "ui/forms/FrmMain.h"
#include "ui/win32/ButtonControls.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/InputControls.h"
#include "ui/win32/ListViewControl.h"
#include "ui/win32/Panel.h"
#include "ui/win32/ProgressBarControl.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/TabStripControl.h"

namespace bastion::win32 {

class FrmMainWindow final : public FormWindow {
public:
    // productName: what the header band shows, and whose branding decides
    // whether the website button keeps its width.
    FrmMainWindow(ui::FrmMain& form, std::string productName);
    ~FrmMainWindow() override;

    bool Create();

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;
    void PaintBackground(HDC dc, const RECT& client) override;
    void AfterSync() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // FrmMainPages.cpp
    void CreateNavigation();
    void CreateHomePage();
    void CreateScanPage();
    void CreateResultsPage();
    void CreateOptionsPage();
    void CreateScanOptionsTab(HWND tab);
    void CreateProtectionTab(HWND tab);
    void CreateScheduleTab(HWND tab);
    void CreateUpdateTab(HWND tab);
    HWND PageOf(const ui::Frame& frame) const;
    void AddButton(HWND parent, ui::CommandButton& button, ButtonLook look, COLORREF background);
    void AddLabel(HWND parent, ui::Label& label, LabelOptions options, COLORREF background);

    // FrmMainLayout.cpp
    void LayoutNavigation(const ui::Rect& nav);
    void LayoutHome(const ui::Rect& page);
    void LayoutScan(const ui::Rect& page);
    void LayoutResults(const ui::Rect& page);
    void LayoutOptions(const ui::Rect& page);
    void LayoutScanOptionsTab(const ui::Rect& area);
    void LayoutProtectionTab(const ui::Rect& area);
    void LayoutScheduleTab(const ui::Rect& area);
    void LayoutUpdateTab(const ui::Rect& area);
    int S(int units) const { return ui::Scale(units, Dpi()); }

    void LoadIcons();
    void KeepOnScreen();
    bool RemovalProgressShown() const;

    ui::FrmMain& main_;
    std::string productName_;
    Panel navPanel_;
    UniqueIcon headerIcon_;
    HICON largeIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    bool laidOutWithRemovalProgress_ = false;
    // What the results page's caption row was last laid out for.
    std::string laidOutNote_;
    bool laidOutWithBar_ = false;
    bool laidOutWithPercent_ = false;

    // The captions beside and below values, placed by the layout.
    struct Captions {
        ui::Label* statusHeading = nullptr;
        ui::Label* scanHeading = nullptr;
        ui::Label* defCount = nullptr;
        ui::Label* version = nullptr;
        ui::Label* defDate = nullptr;
        ui::Label* removed = nullptr;
        ui::Label* lastScan = nullptr;
        ui::Label* lastFullScan = nullptr;
        ui::Label* pb1 = nullptr;
        ui::Label* pb2 = nullptr;
        ui::Label* drive = nullptr;
        ui::Label* counters[6] = {};
        ui::Label* itemsFound = nullptr;
        ui::Label* day = nullptr;
        ui::Label* date = nullptr;
        ui::Label* time = nullptr;
        ui::Label* fileName = nullptr;
    } fixed_;
};

}  // namespace bastion::win32
