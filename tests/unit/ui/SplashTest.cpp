#include "ui/forms/FrmSplash.h"

#include <gtest/gtest.h>

#include "support/TestIdentity.h"

namespace bastion::ui {
namespace {

TEST(SplashTest, ShowsTheIdentityAndHandsOverToTheMainWindowOnTheSeventyFifthTick) {
    FrmSplash splash;
    int mainWindowShown = 0;
    bool timerRanDuringHandOver = true;
    splash.showMainWindow = [&] {
        ++mainWindowShown;
        timerRanDuringHandOver = splash.Timer2.Enabled();
    };
    EXPECT_FALSE(splash.Timer2.Enabled());
    EXPECT_EQ(splash.Timer2.Interval(), 2u);

    splash.Form_Load(testing::TestIdentity());
    splash.SetVisible(true);
    EXPECT_EQ(splash.lblProductName.Caption(), "Testwall");
    EXPECT_EQ(splash.lblCompanyName.Caption(), "Testwall Labs");
    EXPECT_EQ(splash.lblVersion.Caption(), "Version 4.2");
    EXPECT_TRUE(splash.Timer2.Enabled());

    for (int tick = 1; tick <= 74; ++tick) splash.Timer2.Tick();
    EXPECT_EQ(mainWindowShown, 0);
    EXPECT_TRUE(splash.Visible());
    EXPECT_EQ(splash.Counter(), 148);

    splash.Timer2.Tick();
    EXPECT_EQ(mainWindowShown, 1);
    EXPECT_FALSE(timerRanDuringHandOver);
    EXPECT_FALSE(splash.Visible());

    // A tick already posted when the timer stopped hands over nothing more.
    for (int tick = 0; tick < 200; ++tick) splash.Timer2.Tick();
    EXPECT_EQ(mainWindowShown, 1);
}

}  // namespace
}  // namespace bastion::ui
