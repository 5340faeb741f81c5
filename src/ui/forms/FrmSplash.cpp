#include "ui/forms/FrmSplash.h"

namespace bastion::ui {

namespace {
// The count before the hand-over: 75 ticks of 2.
constexpr std::int16_t kLastCount = 148;
constexpr std::int16_t kStep = 2;
}  // namespace

FrmSplash::FrmSplash() : Form("frmSplash") {
    lblVersionCaption.SetCaption("Version");
    lblStarting.SetCaption("Starting\u2026");
    for (Label* live : {&lblProductName, &lblCompanyName, &lblVersion}) live->SetShowsLiveState();
    Timer2.onTick = [this] { Timer2_Timer(); };
}

void FrmSplash::Form_Load(const services::Identity& identity) {
    SetCaption(identity.productName);
    lblProductName.SetCaption(identity.productName);
    lblCompanyName.SetCaption(identity.companyName);
    lblVersion.SetCaption(lblVersionCaption.Caption() + " " + identity.VersionText());
    Timer2.SetEnabled(true);
}

void FrmSplash::Timer2_Timer() {
    const std::int16_t before = counter_;
    counter_ = static_cast<std::int16_t>(counter_ + kStep);
    if (before != kLastCount) return;
    // Stopped first: the main window's load lets events run, and a tick
    // arriving meanwhile must not start a second one.
    Timer2.SetEnabled(false);
    if (showMainWindow) showMainWindow();
    SetVisible(false);
}

}  // namespace bastion::ui
