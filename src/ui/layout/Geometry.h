// Window geometry in code: rectangles, the scaling of 96-dpi layout units to
// the window's dots per inch, and the twips in which the program stores
// window and column sizes (1440 to the inch, whatever the screen).
#pragma once

namespace bastion::ui {

inline constexpr int kBaseDpi = 96;
inline constexpr double kTwipsPerInch = 1440.0;

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }

    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    int x = 0;
    int y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle from its left and top edge and its size.
Rect RectOfSize(int left, int top, int width, int height);

// Layout units (pixels at 96 dpi) to pixels at dpi, rounded to nearest.
int Scale(int units, int dpi);
int TwipsToPixels(double twips, int dpi);
double PixelsToTwips(int pixels, int dpi);

// The rectangle shrunk by the margin on every side; never inside out.
Rect Inset(const Rect& rect, int margin);
Rect Inset(const Rect& rect, int horizontal, int vertical);

// Cutting a box into strips: each takes a strip of the given size off one
// side of the area (at most what is left), leaves a gap after it and
// returns the strip, so that a page reads top to bottom as its layout.
Rect TakeTop(Rect& area, int height, int gap = 0);
Rect TakeBottom(Rect& area, int height, int gap = 0);
Rect TakeLeft(Rect& area, int width, int gap = 0);
Rect TakeRight(Rect& area, int width, int gap = 0);

// Splits a row into count equal cells with gaps between them; cell index of
// count. The last cell takes the pixels left by rounding.
Rect Cell(const Rect& row, int index, int count, int gap);

}  // namespace bastion::ui
