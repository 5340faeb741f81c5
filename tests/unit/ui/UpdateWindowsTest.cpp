#include <gtest/gtest.h>

#include "services/messages/DefaultMessages.h"
#include "support/TestIdentity.h"
#include "ui/forms/FrmDownload.h"
#include "ui/forms/FrmSignatureUpdated.h"
#include "ui/layout/SlidePlacement.h"

namespace bastion::ui {
namespace {

TEST(FrmSignatureUpdated, RisesHoldsSinksAndIsAcknowledgedOnce) {
    FrmSignatureUpdated popup;
    popup.planSlide = [] { return PlanSlide(BottomTaskbarArea({0, 0, 1024, 768}), 320, 110, 96); };
    int acknowledged = 0;
    popup.acknowledged = [&] { ++acknowledged; };
    popup.Show("Updated");
    EXPECT_TRUE(popup.Visible());
    EXPECT_EQ(popup.Motion().Position().y, 768);
    int ticks = 0;
    while (popup.tmrPopupSignatureUpdate.Enabled() && ticks < 1000) popup.tmrPopupSignatureUpdate.Tick(), ++ticks;
    EXPECT_EQ(popup.Motion().Position().y, 768 - 110 - 7);
    EXPECT_TRUE(popup.tmrEnablePopDownTimer.Enabled());
    popup.tmrEnablePopDownTimer.Tick();
    EXPECT_TRUE(popup.tmrPopDown.Enabled());
    while (popup.tmrPopDown.Enabled() && ticks < 2000) popup.tmrPopDown.Tick(), ++ticks;
    EXPECT_FALSE(popup.Visible());
    EXPECT_EQ(popup.Motion().Position().y, 768);
    EXPECT_EQ(acknowledged, 1);
}

TEST(FrmDownload, BlinksThroughItsTextsEveryFifteenTicks) {
    services::MessageCatalogue messages(testing::TestIdentity());
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
