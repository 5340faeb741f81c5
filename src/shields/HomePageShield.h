// The home-page shield: every tick of tmrCheckHomePage compares the
// browser's start page (the value "Start Page" of the key kStartPageKey
// under HKEY_CURRENT_USER) with the page remembered at its first look
// ("Homepage"), and on a change asks the user or silently puts the
// remembered page back, as the options say. Every third tick also runs the
// memory shield.
//
// A locked key does not blind it. A start page that cannot be read (access
// denied) counts as changed: the user is told once, and asked whether to
// write the remembered page back. A page that cannot be written back is
// said once; the shield asks again only when the page changes again. So
// does a question left unanswered.
//
// Like the memory shield, a tick runs only while nothing else runs, and is
// an operation while it looks and asks.
#pragma once

#include <optional>
#include <string>

#include "platform/Registry.h"
#include "services/Services.h"
#include "shields/MemoryShield.h"
#include "shields/ShieldAlerts.h"

namespace bastion {

inline constexpr std::string_view kStartPageKey = "Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr std::string_view kStartPageValue = "Start Page";
// What the shield takes for a start page that is not set.
inline constexpr std::string_view kBlankPage = "about:blank";

struct StartPage {
    // kBlankPage when the value (or its key) is absent or empty; nullopt
    // when it cannot be read now (a passing error, a value that is not
    // text, access denied), so that nothing is compared.
    std::optional<std::string> page;
    // The key or the value may not be read: locked.
    bool denied = false;
};

StartPage ReadStartPage(platform::Registry& registry);

struct HomePageShieldEnvironment : services::Services {
    MemoryShield& memoryShield;
    ShieldAlerts& alerts;
};

class HomePageShield {
public:
    explicit HomePageShield(HomePageShieldEnvironment environment);
    HomePageShield(const HomePageShield&) = delete;
    HomePageShield& operator=(const HomePageShield&) = delete;

    // One tick of tmrCheckHomePage: the memory shield every third time,
    // then the check. False when the shield is switched off: its timer may
    // stop.
    bool CheckHomePage();

    // Yes: the remembered page is stored again and written back as the
    // start page (REG_SZ). False when it could not be written.
    bool RestoreHomePage(const std::string& remembered);
    // No: the current start page becomes the remembered one.
    void AcceptHomePage(const std::string& current);

private:
    void CompareStartPage();
    void ChangeFound(const std::string& remembered, const std::string& current);
    void Unreadable(const std::string& remembered);
    // Writes the remembered page back over the current one (nullopt: one
    // that cannot be read); a refusal is said, and not asked about again
    // while that page stays.
    void PutBack(const std::string& remembered, const std::optional<std::string>& current);
    void Tell(std::string text);

    HomePageShieldEnvironment env_;
    int ticks_ = 0;
    // The user was told that the page cannot be read; again only after it
    // could be read once more.
    bool unreadableTold_ = false;
    // The page the remembered one could not be written over, and one the
    // user left unanswered: not asked about again while it stays.
    std::optional<std::string> notRestored_;
    std::optional<std::string> unanswered_;
};

}  // namespace bastion
