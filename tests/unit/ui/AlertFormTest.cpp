// An alert takes no answer before it has been shown for half a second, so
// that a double click meant for the one before cannot answer it.
#include "ui/forms/AlertForm.h"

#include <gtest/gtest.h>

#include "ui/forms/FrmSpywareFoundAlert.h"
#include "ui/forms/TimerClock.h"

namespace bastion::ui {
namespace {

TEST(AlertFormTest, ButtonsTakeInputOnlyHalfASecondAfterEachOpening) {
    FrmSpywareFoundAlert alert;
    TimerClock clock(alert);
    std::uint64_t now = 1000;
    for (AlertButton pressed : {AlertButton::No, AlertButton::Yes}) {
        alert.Open();
        clock.Follow(now);
        CommandButton& button = pressed == AlertButton::Yes ? alert.cmdYes : alert.cmdNO;
        // The second click of a double click on the last alert.
        button.Click();
        clock.Run(now + AlertForm::kArmMilliseconds - 100);
        button.Click();
        EXPECT_TRUE(alert.Waiting());
        EXPECT_FALSE(alert.cmdYes.Enabled() || alert.cmdNO.Enabled());

        now += AlertForm::kArmMilliseconds;
        clock.Run(now);
        EXPECT_TRUE(alert.Armed() && alert.cmdYes.Enabled() && alert.cmdNO.Enabled());
        button.Click();
        EXPECT_EQ(alert.Answer(), pressed);
        EXPECT_FALSE(alert.Visible());
        now += 10;
    }
}

}  // namespace
}  // namespace bastion::ui
