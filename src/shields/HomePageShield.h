// The home-page shield: every tick of tmrCheckHomePage compares the
// browser's start page (the value "Start Page" of the key kStartPageKey
// under HKEY_CURRENT_USER) with the page remembered at its first look
// ("Homepage"), and on a change asks the user or silently puts the
// remembered page back, as the options say. Every third tick also runs the
// memory shield.
//
// Like the memory shield, a tick runs only while nothing else runs, and is
// an operation while it looks and asks.
#pragma once

#include <optional>
#include <string>

#include "platform/Registry.h"
#include "shields/MemoryShield.h"
#include "shields/ShieldTimers.h"
#include "ui/EventPump.h"
#include "ui/OperationGate.h"
#include "ui/forms/FrmHomePageChangedAlert.h"
#include "ui/forms/FrmMain.h"
#include "ui/settings/SettingsStore.h"

namespace bastion {

inline constexpr std::string_view kStartPageKey = "Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr std::string_view kStartPageValue = "Start Page";
// What the shield takes for a start page that is not set.
inline constexpr std::string_view kBlankPage = "about:blank";

// The browser's start page: kBlankPage when the value (or its key) is
// absent or empty; nullopt when it cannot be read now (access denied, a
// passing error, a value that is not text), so that nothing is compared.
std::optional<std::string> ReadStartPage(platform::Registry& registry);

struct HomePageShieldEnvironment {
    platform::Registry& registry;
    ui::SettingsStore& settings;
    ui::EventPump& pump;
    ui::OperationGate& operations;
    ShieldTimers& timers;
    const std::string& productName;
    ui::FrmMain& form;
    MemoryShield& memoryShield;
};

class HomePageShield {
public:
    // Takes over tmrCheckHomePage's tick.
    explicit HomePageShield(HomePageShieldEnvironment environment);
    HomePageShield(const HomePageShield&) = delete;
    HomePageShield& operator=(const HomePageShield&) = delete;

    // One tick: the memory shield every third time, then the check.
    void CheckHomePage();

    // Yes: the remembered page is stored again and written back as the
    // start page (REG_SZ).
    void RestoreHomePage(const std::string& remembered);
    // No: the current start page becomes the remembered one.
    void AcceptHomePage(const std::string& current);

    ui::FrmHomePageChangedAlert alert;

private:
    void CompareStartPage();

    HomePageShieldEnvironment env_;
    int ticks_ = 0;
};

}  // namespace bastion
