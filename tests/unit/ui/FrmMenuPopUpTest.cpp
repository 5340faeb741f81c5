#include <gtest/gtest.h>

#include "ui/forms/FrmMenuPopUp.h"

namespace bastion::ui {
namespace {

struct FrmMenuPopUpTest : ::testing::Test {
    FrmMenuPopUpTest() {
        menu.planSlide = [] { return PlanSlide(BottomTaskbarArea({0, 0, 1024, 728}), 220, 158, 96, {80, 100}); };
        menu.showProgram = [this] { ++shown; };
        menu.exitProgram = [this] { ++exited; };
    }
    // Ticks the running slide timer until it stops; the number of ticks.
    int Run(Timer& timer) {
        int ticks = 0;
        while (timer.Enabled() && ticks < 500) timer.Tick(), ++ticks;
        return ticks;
    }
    SlidePlan Plan() const { return menu.planSlide(); }

    FrmMenuPopUp menu;
    int shown = 0;
    int exited = 0;
};

TEST_F(FrmMenuPopUpTest, RisesRestsWhileTheMouseMovesAndSinksSixSecondsAfterTheLastMove) {
    menu.Form_Load("Testwall", true);
    EXPECT_FALSE(menu.mnuMaxmimaize.Enabled()) << "the window is on the screen";
    EXPECT_EQ(menu.Motion().Position(), Plan().start);
    EXPECT_EQ(Run(menu.tmrMenuPopup), Plan().riseSteps + 1);
    EXPECT_EQ(menu.Motion().Position(), Plan().rest);
    ASSERT_TRUE(menu.TmrEnablePopDown.Enabled());

    for (int second = 0; second < 5; ++second) menu.TmrEnablePopDown.Tick();
    menu.Form_MouseMove();
    for (int second = 0; second < 5; ++second) menu.TmrEnablePopDown.Tick();
    EXPECT_FALSE(menu.Sinking()) << "five seconds after the last move";
    menu.TmrEnablePopDown.Tick();
    ASSERT_TRUE(menu.Sinking());

    // A move during the sink does not stop it; it ends after its steps.
    menu.tmrPopDown.Tick();
    menu.Form_MouseMove();
    EXPECT_EQ(Run(menu.tmrPopDown), Plan().sinkSteps - 1);
    EXPECT_EQ(menu.Motion().Position(), Plan().start);
    EXPECT_FALSE(menu.Visible());
}

TEST_F(FrmMenuPopUpTest, CloseMenuShowProgramAndExitProgram) {
    // Closed half-way up: it goes down from where it was, not from the top.
    menu.Form_Load("Testwall", false);
    EXPECT_TRUE(menu.mnuMaxmimaize.Enabled());
    for (int i = 0; i < Plan().riseSteps / 2; ++i) menu.tmrMenuPopup.Tick();
    menu.lblMenuClose.Click();
    EXPECT_FALSE(menu.tmrMenuPopup.Enabled());
    EXPECT_NEAR(Run(menu.tmrPopDown), Plan().sinkSteps / 2, 1);
    EXPECT_FALSE(menu.Visible());

    // A click on the icon while it sinks brings it up again; one while it
    // rests leaves it there.
    menu.Form_Load("Testwall", false);
    Run(menu.tmrMenuPopup);
    menu.lblMenuClose.Click();
    menu.tmrPopDown.Tick();
    menu.Form_Load("Testwall", false);
    EXPECT_FALSE(menu.Sinking());
    EXPECT_LE(Run(menu.tmrMenuPopup), 3);
    EXPECT_EQ(menu.Motion().Position(), Plan().rest);
    menu.Form_Load("Testwall", false);
    EXPECT_FALSE(menu.tmrMenuPopup.Enabled());

    menu.mnuMaxmimaize.Click();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(menu.Sinking());
    menu.mnuClose.Click();
    EXPECT_EQ(exited, 1);
    EXPECT_FALSE(menu.Visible()) << "the program is ending";
    EXPECT_FALSE(menu.Sinking());
}

}  // namespace
}  // namespace bastion::ui
