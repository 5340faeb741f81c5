#include "shields/HomePageShield.h"

#include "ui/AlertWait.h"
#include "ui/settings/SettingKeys.h"

namespace bastion {

namespace keys = ui::settings;

namespace {

constexpr std::string_view kOperationName = "home page shield";
// The memory shield runs on every third tick.
constexpr int kTicksPerMemoryCheck = 3;

}  // namespace

std::optional<std::string> ReadStartPage(platform::Registry& registry) {
    platform::RegValue value;
    const long rc = registry.QueryValue(platform::Hive::CurrentUser, std::string(kStartPageKey),
                                        std::string(kStartPageValue), value);
    if (rc == platform::kRegNotFound) return std::string(kBlankPage);
    if (rc != platform::kRegOk) return std::nullopt;
    if (value.type != platform::RegType::String && value.type != platform::RegType::ExpandString) return std::nullopt;
    // An empty page is a blank one: remembering "" would read as never
    // captured, and the next page set would be taken without a word.
    if (value.text.empty()) return std::string(kBlankPage);
    return std::move(value.text);
}

HomePageShield::HomePageShield(HomePageShieldEnvironment environment) : env_(environment) {
    env_.form.tmrCheckHomePage.onTick = [this] { CheckHomePage(); };
}

void HomePageShield::CheckHomePage() {
    if (!env_.operations.Idle()) return;
    if (++ticks_ >= kTicksPerMemoryCheck) {
        ticks_ = 0;
        env_.memoryShield.tmrMemoryInspected_Timer();
    }
    if (!env_.settings.ReadTruth(keys::kOptIEHomePageSheildOn)) {
        env_.form.tmrCheckHomePage.SetEnabled(false);
        return;
    }
    // The memory shield's alert may still be closing, or an exit may wait.
    if (!env_.operations.Idle()) return;
    ui::OperationGate::Operation operation = env_.operations.TryBegin(kOperationName, [this] { alert.Dismiss(); });
    if (!operation) return;
    env_.timers.EnableShieldTimers(false);
    try {
        CompareStartPage();
    } catch (...) {
        // The next tick compares again.
    }
    env_.timers.EnableShieldTimers(true);
}

void HomePageShield::CompareStartPage() {
    const std::optional<std::string> current = ReadStartPage(env_.registry);
    if (!current) return;
    const std::string remembered = env_.settings.Read(keys::kHomepage);
    if (remembered.empty()) {
        AcceptHomePage(*current);
        return;
    }
    if (remembered == *current) return;

    if (env_.settings.ReadTruth(keys::kOptAlwaysnotifybeforerestoring)) {
        alert.Fill(env_.productName, remembered, *current);
        switch (ui::AskAndWait(alert, env_.pump, env_.operations)) {
            case ui::AlertButton::Yes: RestoreHomePage(remembered); break;
            case ui::AlertButton::No: AcceptHomePage(*current); break;
            // Closed unanswered: asked again at a later tick.
            case ui::AlertButton::None: break;
        }
    } else if (env_.settings.ReadTruth(keys::kOptRestoredefaultwithoutnotification)) {
        RestoreHomePage(remembered);
    }
}

void HomePageShield::RestoreHomePage(const std::string& remembered) {
    env_.settings.Write(keys::kHomepage, remembered);
    // A profile without the key gets it; a failed write is found again at
    // the next tick.
    env_.registry.CreateKey(platform::Hive::CurrentUser, std::string(kStartPageKey));
    env_.registry.SetValue(platform::Hive::CurrentUser, std::string(kStartPageKey), std::string(kStartPageValue),
                           platform::RegValue::String(remembered));
}

void HomePageShield::AcceptHomePage(const std::string& current) { env_.settings.Write(keys::kHomepage, current); }

}  // namespace bastion
