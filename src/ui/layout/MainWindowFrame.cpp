#include "ui/layout/MainWindowFrame.h"

#include <algorithm>

namespace bastion::ui {

MainFrame ComputeMainFrame(int clientWidth, int clientHeight, int dpi, bool websiteKeepsWidth) {
    MainFrame frame;
    Rect area{0, 0, std::max(clientWidth, 0), std::max(clientHeight, 0)};
    frame.header = TakeTop(area, Scale(kHeaderHeight, dpi));
    frame.footer = TakeBottom(area, Scale(kFooterHeight, dpi));
    frame.nav = TakeLeft(area, Scale(kNavWidth, dpi));
    frame.content = area;

    const int left = frame.footer.left + Scale(16, dpi);
    const int right = websiteKeepsWidth ? left + Scale(kWebsiteKeptWidth, dpi)
                                        : frame.footer.right - TwipsToPixels(kWebsiteRightGapTwips, dpi);
    const int height = Scale(24, dpi);
    const int top = frame.footer.top + (frame.footer.Height() - height) / 2;
    frame.website = {left, top, std::max(right, left), top + height};
    return frame;
}

bool WebsiteKeepsWidth(std::string_view productName) { return productName == "Wickerly"; }

std::optional<Point> PulledOntoScreen(const Rect& window, const Rect& screen, int dpi, bool maximized) {
    if (maximized) return std::nullopt;
    const int gap = TwipsToPixels(kScreenEdgeGapTwips, dpi);
    Point position{window.left, window.top};
    bool moved = false;
    if (window.top < screen.top) {
        position.y = screen.top + gap;
        moved = true;
    }
    if (window.left < screen.left) {
        position.x = screen.left + gap;
        moved = true;
    }
    if (!moved) return std::nullopt;
    return position;
}

}  // namespace bastion::ui
