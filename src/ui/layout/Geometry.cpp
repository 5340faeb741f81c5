#include "ui/layout/Geometry.h"

#include <algorithm>
#include <cmath>

namespace bastion::ui {

Rect RectOfSize(int left, int top, int width, int height) {
    return {left, top, left + std::max(width, 0), top + std::max(height, 0)};
}

int Scale(int units, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(units) * dpi / kBaseDpi));
}

int TwipsToPixels(double twips, int dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

double PixelsToTwips(int pixels, int dpi) {
    if (dpi <= 0) return 0;
    return static_cast<double>(pixels) * kTwipsPerInch / dpi;
}

Rect Inset(const Rect& rect, int margin) { return Inset(rect, margin, margin); }

Rect Inset(const Rect& rect, int horizontal, int vertical) {
    Rect inner{rect.left + horizontal, rect.top + vertical, rect.right - horizontal, rect.bottom - vertical};
    if (inner.right < inner.left) inner.right = inner.left;
    if (inner.bottom < inner.top) inner.bottom = inner.top;
    return inner;
}

Rect TakeTop(Rect& area, int height, int gap) {
    height = std::clamp(height, 0, std::max(area.Height(), 0));
    Rect strip{area.left, area.top, area.right, area.top + height};
    area.top = std::min(strip.bottom + gap, area.bottom);
    return strip;
}

Rect TakeBottom(Rect& area, int height, int gap) {
    height = std::clamp(height, 0, std::max(area.Height(), 0));
    Rect strip{area.left, area.bottom - height, area.right, area.bottom};
    area.bottom = std::max(strip.top - gap, area.top);
    return strip;
}

Rect TakeLeft(Rect& area, int width, int gap) {
    width = std::clamp(width, 0, std::max(area.Width(), 0));
    Rect strip{area.left, area.top, area.left + width, area.bottom};
    area.left = std::min(strip.right + gap, area.right);
    return strip;
}

Rect TakeRight(Rect& area, int width, int gap) {
    width = std::clamp(width, 0, std::max(area.Width(), 0));
    Rect strip{area.right - width, area.top, area.right, area.bottom};
    area.right = std::max(strip.left - gap, area.left);
    return strip;
}

Rect Cell(const Rect& row, int index, int count, int gap) {
    if (count <= 0) return row;
    const int width = std::max((row.Width() - gap * (count - 1)) / count, 0);
    Rect cell{row.left + index * (width + gap), row.top, 0, row.bottom};
    cell.right = (index == count - 1) ? std::max(row.right, cell.left) : cell.left + width;
    return cell;
}

}  // namespace bastion::ui
