#include <gtest/gtest.h>

#include "support/TestIdentity.h"
#include "ui/DefaultMessages.h"
#include "ui/forms/FrmDownload.h"
#include "ui/forms/FrmSignatureUpdated.h"
#include "ui/layout/SlidePlacement.h"

namespace bastion::ui {
namespace {

TEST(SlidePlacement, RestsInTheWorkAreasCornerAndEndsEachSlideExactlyAtAnyDpi) {
    // A second monitor right of the first, its taskbar at the bottom.
    const Rect work{1920, 0, 3840, 1040};
    for (int dpi : {96, 144, 192}) {
        const SlidePlan plan = PlanSlide(work, Scale(320, dpi), Scale(110, dpi), dpi);
        const int margin = TwipsToPixels(100, dpi);
        EXPECT_EQ(plan.left, 3840 - Scale(320, dpi) - margin) << dpi;
        EXPECT_EQ(plan.startTop, 1040) << dpi;
        EXPECT_EQ(plan.targetTop, 1040 - Scale(110, dpi) - margin) << dpi;
        EXPECT_EQ(RiseTop(plan, plan.riseSteps), plan.targetTop) << dpi;
        EXPECT_EQ(SinkTop(plan, plan.sinkSteps), plan.startTop) << dpi;
        EXPECT_EQ(RiseTop(plan, plan.riseSteps + 5), plan.targetTop) << dpi;
        // About 20 twips a step up and 40 down.
        EXPECT_NEAR(plan.riseSteps, (plan.startTop - plan.targetTop) / (20.0 * dpi / 1440), 1.0) << dpi;
        EXPECT_GE(plan.riseSteps, plan.sinkSteps * 2 - 1) << dpi;
    }
    // Taller than the work area: it rests at the top.
    EXPECT_EQ(PlanSlide({0, 0, 800, 100}, 300, 400, 96).targetTop, 0);
}

TEST(FrmSignatureUpdated, RisesHoldsSinksAndIsAcknowledgedOnce) {
    FrmSignatureUpdated popup;
    popup.planSlide = [] { return PlanSlide({0, 0, 1024, 768}, 320, 110, 96); };
    int acknowledged = 0;
    popup.acknowledged = [&] { ++acknowledged; };
    popup.Show("Updated");
    EXPECT_TRUE(popup.Visible());
    EXPECT_EQ(popup.Top(), 768);
    int ticks = 0;
    while (popup.tmrPopupSignatureUpdate.Enabled() && ticks < 1000) popup.tmrPopupSignatureUpdate.Tick(), ++ticks;
    EXPECT_EQ(popup.Top(), 768 - 110 - 7);
    EXPECT_TRUE(popup.tmrEnablePopDownTimer.Enabled());
    popup.tmrEnablePopDownTimer.Tick();
    EXPECT_TRUE(popup.tmrPopDown.Enabled());
    while (popup.tmrPopDown.Enabled() && ticks < 2000) popup.tmrPopDown.Tick(), ++ticks;
    EXPECT_FALSE(popup.Visible());
    EXPECT_EQ(popup.Top(), 768);
    EXPECT_EQ(acknowledged, 1);
}

TEST(FrmDownload, BlinksThroughItsTextsEveryFifteenTicks) {
    MessageCatalogue messages(testing::TestIdentity());
    FillDefaultMessages(messages);
    FrmDownload download;
    download.Form_Load(messages);
    EXPECT_TRUE(download.tmrBlink.Enabled());
    EXPECT_EQ(download.lblProduct.Caption(), "Connecting to server/downloading.....");
    std::vector<std::string> shown;
    for (int i = 0; i < 16; ++i) {
        download.tmrBlink.Tick();
        shown.push_back(download.lblProduct.Caption());
        EXPECT_NE(download.picUp.Visible(), download.picDown.Visible());
    }
    EXPECT_EQ(shown[0], "Connecting to the Server.");
    EXPECT_EQ(shown[1], "Connecting to server.....");  // steps 1, 7 and 9 keep the picture's text
    EXPECT_EQ(shown[6], "Successfully sent the request.");
    EXPECT_EQ(shown[7], "Connecting to server.....");
    EXPECT_EQ(shown[8], "Receiving a response from the Server.");
    EXPECT_EQ(shown[9], "Connecting to server.....");
    EXPECT_EQ(shown[15], "Connecting to the Server.");
    download.Command1.Click();
    EXPECT_FALSE(download.Visible());
}

}  // namespace
}  // namespace bastion::ui
