// The arithmetic of window geometry: twips and dpi, the strips a page is cut
// into, the frame of the main window and the progress steps.
#include <gtest/gtest.h>

#include <cmath>

#include "ui/layout/Geometry.h"
#include "ui/layout/MainWindowFrame.h"
#include "ui/layout/ProgressScale.h"

namespace bastion::ui {
namespace {

TEST(Layout, TwipsAndLayoutUnitsFollowTheDpi) {
    // An inch is 1440 twips: 96 pixels at 96 dpi, 144 at 144 dpi.
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(TwipsToPixels(1440, 144), 144);
    EXPECT_EQ(TwipsToPixels(200, 96), 13);   // 13.33
    EXPECT_EQ(TwipsToPixels(200, 144), 20);
    EXPECT_EQ(Scale(24, 144), 36);
    EXPECT_EQ(Scale(5, 120), 6);  // 6.25

    // A width read back from the screen and pushed again lands on the same
    // pixel, at both dpis, so a column never creeps.
    for (int dpi : {96, 120, 144}) {
        for (int pixels : {1, 57, 200, 1333}) {
            EXPECT_EQ(TwipsToPixels(PixelsToTwips(pixels, dpi), dpi), pixels) << dpi << " " << pixels;
        }
    }
}

TEST(Layout, StripsAreCutOffTheAreaWithGapsAndNeverOverrun) {
    Rect area{0, 0, 300, 200};
    EXPECT_EQ(TakeTop(area, 30, 10), (Rect{0, 0, 300, 30}));
    EXPECT_EQ(TakeBottom(area, 40, 5), (Rect{0, 160, 300, 200}));
    EXPECT_EQ(TakeLeft(area, 100, 20), (Rect{0, 40, 100, 155}));
    EXPECT_EQ(TakeRight(area, 50), (Rect{250, 40, 300, 155}));
    EXPECT_EQ(area, (Rect{120, 40, 250, 155}));

    // Asking for more than is left gives what is left, and the area ends
    // empty rather than inside out.
    Rect small{0, 0, 100, 20};
    EXPECT_EQ(TakeTop(small, 50, 8), (Rect{0, 0, 100, 20}));
    EXPECT_TRUE(small.Empty());
    EXPECT_GE(small.Height(), 0);
    EXPECT_FALSE(Inset(Rect{0, 0, 10, 10}, 8).Width() < 0);

    // Equal cells; the last one takes what rounding left over.
    const Rect row{0, 0, 101, 10};
    EXPECT_EQ(Cell(row, 0, 3, 4), (Rect{0, 0, 31, 10}));
    EXPECT_EQ(Cell(row, 1, 3, 4), (Rect{35, 0, 66, 10}));
    EXPECT_EQ(Cell(row, 2, 3, 4), (Rect{70, 0, 101, 10}));
}

TEST(Layout, MainFrameFillsTheClientAreaAndTheWebsiteButtonEndsBeforeTheRightEdge) {
    for (int dpi : {96, 144}) {
        const int width = Scale(960, dpi);
        const int height = Scale(660, dpi);
        const MainFrame frame = ComputeMainFrame(width, height, dpi, false);
        // Header over everything, footer under everything, the navigation
        // column and the content area between them, without overlap.
        EXPECT_EQ(frame.header, (Rect{0, 0, width, Scale(kHeaderHeight, dpi)}));
        EXPECT_EQ(frame.footer.bottom, height);
        EXPECT_EQ(frame.nav.top, frame.header.bottom);
        EXPECT_EQ(frame.nav.bottom, frame.footer.top);
        EXPECT_EQ(frame.content.left, frame.nav.right);
        EXPECT_EQ(frame.content.right, width);
        EXPECT_EQ(frame.content.top, frame.header.bottom);
        EXPECT_EQ(frame.content.bottom, frame.footer.top);
        // 200 twips before the right edge: 13 pixels at 96 dpi, 20 at 144.
        EXPECT_EQ(width - frame.website.right, dpi == 96 ? 13 : 20);
        EXPECT_GE(frame.website.top, frame.footer.top);
        EXPECT_LE(frame.website.bottom, frame.footer.bottom);
    }

    // The "Wickerly" branding keeps the button's width however wide the
    // window.
    EXPECT_TRUE(WebsiteKeepsWidth("Wickerly"));
    EXPECT_FALSE(WebsiteKeepsWidth("Bastion"));
    const MainFrame narrow = ComputeMainFrame(900, 600, 96, true);
    const MainFrame wide = ComputeMainFrame(1800, 600, 96, true);
    EXPECT_EQ(narrow.website.Width(), kWebsiteKeptWidth);
    EXPECT_EQ(wide.website.Width(), kWebsiteKeptWidth);

    // A window too small for its frame gets empty areas, not inverted ones.
    const MainFrame tiny = ComputeMainFrame(50, 40, 96, false);
    EXPECT_GE(tiny.content.Width(), 0);
    EXPECT_GE(tiny.content.Height(), 0);
    EXPECT_GE(tiny.website.Width(), 0);
}

TEST(Layout, AWindowAboveOrLeftOfTheScreenIsPulledBackUnlessMaximized) {
    const Rect screen{0, 0, 1280, 1024};
    // 100 twips: 7 pixels at 96 dpi (6.67), 10 at 144.
    EXPECT_EQ(PulledOntoScreen({-50, 100, 750, 700}, screen, 96, false), (Point{7, 100}));
    EXPECT_EQ(PulledOntoScreen({30, -20, 830, 580}, screen, 144, false), (Point{30, 10}));
    EXPECT_EQ(PulledOntoScreen({-5, -5, 795, 595}, screen, 96, false), (Point{7, 7}));
    EXPECT_EQ(PulledOntoScreen({0, 0, 800, 600}, screen, 96, false), std::nullopt);
    // Off to the right or below is left alone, and so is a maximized window
    // (whose frame lies outside the screen by design).
    EXPECT_EQ(PulledOntoScreen({900, 900, 1700, 1500}, screen, 96, false), std::nullopt);
    EXPECT_EQ(PulledOntoScreen({-8, -8, 1288, 1032}, screen, 96, true), std::nullopt);
    // A second screen left of the first has its own edge.
    EXPECT_EQ(PulledOntoScreen({-1000, 50, -200, 650}, {-1280, 0, 0, 1024}, 96, false), std::nullopt);
}

TEST(Layout, ProgressOfAnyRangeMapsOntoTheBarsSteps) {
    EXPECT_EQ(ProgressSteps(0, 100, 0), 0);
    EXPECT_EQ(ProgressSteps(0, 100, 50), kProgressSteps / 2);
    EXPECT_EQ(ProgressSteps(0, 100, 100), kProgressSteps);
    // Bytes of a large drive: far beyond what a 32-bit range holds.
    const double drive = 3.5e12;
    EXPECT_EQ(ProgressSteps(0, drive, drive / 4), kProgressSteps / 4);
    EXPECT_EQ(ProgressSteps(10, 20, 15), kProgressSteps / 2);
    // An empty range, a value outside it or not a number never yield a
    // step outside the bar.
    EXPECT_EQ(ProgressSteps(0, 0, 0), 0);
    EXPECT_EQ(ProgressSteps(5, 1, 3), 0);
    EXPECT_EQ(ProgressSteps(0, 100, -5), 0);
    EXPECT_EQ(ProgressSteps(0, 100, 1e9), kProgressSteps);
    EXPECT_EQ(ProgressSteps(0, 100, std::nan("")), 0);
}

}  // namespace
}  // namespace bastion::ui
