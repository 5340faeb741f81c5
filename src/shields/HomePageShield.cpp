#include "shields/HomePageShield.h"

#include "common/Lines.h"
#include "services/messages/GuardMessages.h"
#include "services/operations/TimersHeld.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

namespace keys = services::settings;

namespace {

constexpr std::string_view kHomePageShieldOperation = "home page shield";
// The memory shield runs on every third tick.
constexpr int kTicksPerMemoryCheck = 3;

}  // namespace

StartPage ReadStartPage(platform::Registry& registry) {
    platform::RegValue value;
    const long rc = registry.QueryValue(platform::Hive::CurrentUser, std::string(kStartPageKey),
                                        std::string(kStartPageValue), value);
    if (rc == platform::kRegNotFound) return {std::string(kBlankPage)};
    if (rc == platform::kRegAccessDenied) return {std::nullopt, true};
    if (rc != platform::kRegOk) return {};
    if (value.type != platform::RegType::String && value.type != platform::RegType::ExpandString) return {};
    // An empty page is a blank one: remembering "" would read as never
    // captured, and the next page set would be taken without a word.
    if (value.text.empty()) return {std::string(kBlankPage)};
    return {std::move(value.text)};
}

HomePageShield::HomePageShield(HomePageShieldEnvironment environment) : env_(environment) {}

bool HomePageShield::CheckHomePage() {
    if (!env_.operations.Idle()) return true;
    if (++ticks_ >= kTicksPerMemoryCheck) {
        ticks_ = 0;
        env_.memoryShield.CheckRunningPrograms();
    }
    if (!env_.settings.ReadTruth(keys::kOptIEHomePageSheildOn)) return false;
    // The memory shield's alert may still be closing, or an exit may wait.
    if (!env_.operations.Idle()) return true;
    services::OperationGate::Operation operation =
        env_.operations.TryBegin(kHomePageShieldOperation, [this] { env_.alerts.Dismiss(); });
    if (!operation) return true;
    const services::TimersHeld held(env_.background);
    try {
        CompareStartPage();
    } catch (...) {
        // The next tick compares again.
    }
    return true;
}

void HomePageShield::CompareStartPage() {
    const StartPage current = ReadStartPage(env_.registry);
    const std::string remembered = env_.settings.Read(keys::kHomepage);
    if (current.denied) {
        Unreadable(remembered);
        return;
    }
    if (!current.page) return;
    unreadableTold_ = false;
    if (remembered.empty()) {
        AcceptHomePage(*current.page);
        return;
    }
    if (remembered == *current.page) {
        notRestored_.reset();
        unanswered_.reset();
        return;
    }
    // Said already, or left unanswered: again when the page changes again.
    if (current.page == notRestored_ || current.page == unanswered_) return;
    notRestored_.reset();
    unanswered_.reset();
    ChangeFound(remembered, *current.page);
}

void HomePageShield::ChangeFound(const std::string& remembered, const std::string& current) {
    if (env_.settings.ReadTruth(keys::kOptAlwaysnotifybeforerestoring)) {
        switch (env_.alerts.AskAboutStartPage(remembered, current)) {
            case StartPageAnswer::PutBack: PutBack(remembered, current); break;
            case StartPageAnswer::Keep: AcceptHomePage(current); break;
            case StartPageAnswer::NoAnswer: unanswered_ = current; break;
        }
    } else if (env_.settings.ReadTruth(keys::kOptRestoredefaultwithoutnotification)) {
        PutBack(remembered, current);
    }
}

void HomePageShield::Unreadable(const std::string& remembered) {
    // Locked pages are what hijackers leave: a change, said once.
    if (unreadableTold_) return;
    unreadableTold_ = true;
    const std::string text = env_.messages.getMessages(services::msg::kHomePageUnreadable);
    if (remembered.empty()) {
        Tell(text);
        return;
    }
    if (env_.settings.ReadTruth(keys::kOptAlwaysnotifybeforerestoring)) {
        std::string question = text;
        question.append(kCrLf).append(kCrLf).append(env_.messages.getMessages(services::msg::kHomePageKeep));
        question.append(kCrLf).append(remembered);
        if (env_.dialogs.MessageBox(question, env_.identity.productName, services::MsgButtons::YesNo,
                                    services::MsgIcon::Exclamation) == services::MsgResult::Yes) {
            PutBack(remembered, std::nullopt);
        }
    } else if (env_.settings.ReadTruth(keys::kOptRestoredefaultwithoutnotification)) {
        PutBack(remembered, std::nullopt);
    } else {
        Tell(text);
    }
}

void HomePageShield::PutBack(const std::string& remembered, const std::optional<std::string>& current) {
    if (RestoreHomePage(remembered)) return;
    notRestored_ = current;
    Tell(env_.messages.getMessages(services::msg::kHomePageNotRestored));
}

void HomePageShield::Tell(std::string text) {
    if (env_.operations.Ending()) return;
    env_.dialogs.MessageBox(std::move(text), env_.identity.productName, services::MsgButtons::Ok,
                            services::MsgIcon::Exclamation);
}

bool HomePageShield::RestoreHomePage(const std::string& remembered) {
    env_.settings.Write(keys::kHomepage, remembered);
    // A profile without the key gets it.
    env_.registry.CreateKey(platform::Hive::CurrentUser, std::string(kStartPageKey));
    return env_.registry.SetValue(platform::Hive::CurrentUser, std::string(kStartPageKey),
                                  std::string(kStartPageValue), platform::RegValue::String(remembered)) ==
           platform::kRegOk;
}

void HomePageShield::AcceptHomePage(const std::string& current) { env_.settings.Write(keys::kHomepage, current); }

}  // namespace bastion
