// The frame of the main window around its pages: the coloured header band
// with the product name, the navigation column, the content area where the
// pages lie on one another, and the footer with the website button. Kept
// apart from the native window so that its arithmetic is tested natively.
#pragma once

#include <optional>
#include <string_view>

#include "ui/layout/Geometry.h"

namespace bastion::ui {

// Sizes in layout units (pixels at 96 dpi).
inline constexpr int kHeaderHeight = 60;
inline constexpr int kNavWidth = 184;
inline constexpr int kFooterHeight = 34;
inline constexpr int kWebsiteKeptWidth = 260;
// The website button ends this far before the window's right edge.
inline constexpr double kWebsiteRightGapTwips = 200;
// A window pulled back onto the screen stands this far from the edge.
inline constexpr double kScreenEdgeGapTwips = 100;

struct MainFrame {
    Rect header;
    Rect nav;
    Rect content;
    Rect footer;
    Rect website;
};

// The frame for a client area of the given size. The website button spans
// from its left edge to 200 twips before the right edge, unless the
// product keeps its width (the "Wickerly" branding).
MainFrame ComputeMainFrame(int clientWidth, int clientHeight, int dpi, bool websiteKeepsWidth);

// The branding whose website button keeps its width.
bool WebsiteKeepsWidth(std::string_view productName);

// Where a window must move when its top or left edge lies above or left of
// the screen: 100 twips inside that edge, the other coordinate kept. Empty
// when it may stay, and always for a maximized window.
std::optional<Point> PulledOntoScreen(const Rect& window, const Rect& screen, int dpi, bool maximized);

}  // namespace bastion::ui
