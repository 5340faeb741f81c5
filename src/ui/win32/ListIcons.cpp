#include "ui/win32/ListIcons.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "ui/layout/Geometry.h"

namespace bastion::win32 {

namespace {

constexpr COLORREF kMask = RGB(255, 0, 255);

// Coordinates of a 16-unit design grid scaled to the icon's size.
struct Grid {
    int size;
    int operator()(int units) const { return units * size / 16; }
};

class Painter {
public:
    Painter(HDC dc, Grid grid) : dc_(dc), g_(grid) {}

    void Box(int l, int t, int r, int b, COLORREF fill, COLORREF line) {
        UniqueGdiObject brush(::CreateSolidBrush(fill));
        UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, line));
        SelectedObject b1(dc_, brush.Get());
        SelectedObject p1(dc_, pen.Get());
        ::Rectangle(dc_, g_(l), g_(t), g_(r), g_(b));
    }
    void Ellipse(int l, int t, int r, int b, COLORREF fill, COLORREF line) {
        UniqueGdiObject brush(::CreateSolidBrush(fill));
        UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, line));
        SelectedObject b1(dc_, brush.Get());
        SelectedObject p1(dc_, pen.Get());
        ::Ellipse(dc_, g_(l), g_(t), g_(r), g_(b));
    }
    void Polygon(std::initializer_list<POINT> units, COLORREF fill, COLORREF line) {
        std::vector<POINT> points;
        for (POINT p : units) points.push_back({g_(p.x), g_(p.y)});
        UniqueGdiObject brush(::CreateSolidBrush(fill));
        UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, line));
        SelectedObject b1(dc_, brush.Get());
        SelectedObject p1(dc_, pen.Get());
        ::Polygon(dc_, points.data(), static_cast<int>(points.size()));
    }
    void Line(std::initializer_list<POINT> units, COLORREF colour, int width) {
        std::vector<POINT> points;
        for (POINT p : units) points.push_back({g_(p.x), g_(p.y)});
        UniqueGdiObject pen(::CreatePen(PS_SOLID, std::max(1, g_(width)), colour));
        SelectedObject p1(dc_, pen.Get());
        ::Polyline(dc_, points.data(), static_cast<int>(points.size()));
    }

private:
    HDC dc_;
    Grid g_;
};

void DrawCookie(Painter& p) {
    p.Ellipse(1, 1, 15, 15, RGB(214, 160, 84), RGB(150, 100, 40));
    for (auto [x, y] : {std::pair{5, 5}, {9, 4}, {10, 9}, {5, 10}}) p.Ellipse(x, y, x + 2, y + 2, RGB(96, 56, 20), RGB(96, 56, 20));
}

void DrawRegistry(Painter& p) {
    // Three cubes, as registry tools show keys.
    const COLORREF fill = RGB(66, 133, 214);
    const COLORREF line = RGB(20, 70, 140);
    p.Box(1, 8, 8, 15, fill, line);
    p.Box(8, 8, 15, 15, RGB(98, 160, 230), line);
    p.Box(4, 1, 11, 8, RGB(120, 180, 240), line);
}

void DrawFile(Painter& p) {
    p.Polygon({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}, RGB(255, 255, 255), RGB(110, 110, 110));
    p.Polygon({{10, 1}, {10, 4}, {13, 4}}, RGB(220, 220, 220), RGB(110, 110, 110));
    for (int y : {7, 9, 11}) p.Line({{5, y}, {11, y}}, RGB(150, 170, 200), 1);
}

void DrawFolder(Painter& p) {
    p.Polygon({{1, 3}, {6, 3}, {8, 5}, {15, 5}, {15, 14}, {1, 14}}, RGB(240, 196, 80), RGB(180, 130, 30));
    p.Box(1, 7, 15, 14, RGB(250, 214, 110), RGB(180, 130, 30));
}

void DrawExcluded(Painter& p) {
    // A shield with a tick: declared harmless by the user.
    p.Polygon({{8, 1}, {14, 3}, {14, 8}, {8, 15}, {2, 8}, {2, 3}}, RGB(46, 160, 90), RGB(20, 110, 55));
    p.Line({{5, 8}, {7, 10}, {11, 5}}, RGB(255, 255, 255), 2);
}

}  // namespace

UniqueImageList MakeListIcons(int dpi) {
    const int size = ui::Scale(16, dpi);
    UniqueImageList list(::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 5, 0));
    if (!list) return list;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    const std::function<void(Painter&)> drawings[] = {DrawCookie, DrawRegistry, DrawFile, DrawFolder, DrawExcluded};
    for (const auto& draw : drawings) {
        UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen, size, size));
        {
            SelectedObject selected(dc, bitmap.Get());
            RECT all{0, 0, size, size};
            UniqueGdiObject mask(::CreateSolidBrush(kMask));
            ::FillRect(dc, &all, static_cast<HBRUSH>(mask.Get()));
            Painter painter(dc, Grid{size});
            draw(painter);
        }
        ::ImageList_AddMasked(list.Get(), static_cast<HBITMAP>(bitmap.Get()), kMask);
    }
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return list;
}

}  // namespace bastion::win32
