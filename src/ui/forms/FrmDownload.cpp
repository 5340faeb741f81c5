#include "ui/forms/FrmDownload.h"

#include "services/messages/MessageKeys.h"

namespace bastion::ui {

FrmDownload::FrmDownload() : Form("frmDownload") {
    picUp.SetCaption("\xE2\x96\xB2");    // an arrow up
    picDown.SetCaption("\xE2\x96\xBC");  // an arrow down
    for (Label* live : {&picUp, &picDown, &lblProduct}) live->SetShowsLiveState();
    txtStatus.readOnly = true;
    txtStatus.multiLine = true;
    Command1.SetCaption("Cancel");
    Command1.onClick = [this] {
        SetVisible(false);
        if (onCancel) onCancel();
    };
    tmrBlink.onTick = [this] { tmrBlink_Timer(); };
}

void FrmDownload::Form_Load(const services::MessageCatalogue& messages) {
    messages_ = &messages;
    blinkStep_ = 0;
    tmrBlink.SetEnabled(true);
    picDown.SetVisible(false);
    picUp.SetVisible(true);
    lblProduct.SetCaption(messages.getMessages(services::msg::kDownloading));
    txtStatus.SetText("");
    if (removeTrayIcon) removeTrayIcon();
    if (showTrayIcon) showTrayIcon();
    SetVisible(true);
}

void FrmDownload::tmrBlink_Timer() {
    if (!messages_) return;
    auto show = [this](std::string_view key) { lblProduct.SetCaption(messages_->getMessages(key)); };
    if (picDown.Visible()) {
        picDown.SetVisible(false);
        picUp.SetVisible(true);
        show(services::msg::kConnecting);
    } else {
        show(services::msg::kChecking);
        picDown.SetVisible(true);
        picUp.SetVisible(false);
    }
    if (blinkStep_ > 14) blinkStep_ = 0;
    if (blinkStep_ == 0) {
        show(services::msg::kConnecting2);
    } else if ((blinkStep_ >= 2 && blinkStep_ <= 5) || blinkStep_ >= 10) {
        show(services::msg::kSending);
    } else if (blinkStep_ == 6) {
        show(services::msg::kSent);
    } else if (blinkStep_ == 8) {
        show(services::msg::kReceiving);
    }
    ++blinkStep_;
}

void FrmDownload::Form_Unload() {
    tmrBlink.SetEnabled(false);
    if (removeTrayIcon) removeTrayIcon();
    SetVisible(false);
}

}  // namespace bastion::ui
