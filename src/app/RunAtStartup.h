// "Run at Windows Startup" on the options page: the box chkRunAtStartup puts
// the program into the list of programs Windows starts at log-on, or takes
// it out, and the label lblRunAtStart tells whether such an entry exists for
// all users, for this user only, or not at all. An installer may have made
// the entry itself, named after the product; the label counts it too.
//
// The entries never drift: showing the box as stored writes nothing,
// ticking it writes one entry only when none exists, and unticking it
// removes what this user may remove and says what is left.
#pragma once

#include <string>
#include <string_view>

#include "app/App.h"
#include "platform/Registry.h"
#include "services/dialogs/Dialogs.h"
#include "services/messages/MessageCatalogue.h"
#include "services/settings/SettingsStore.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

inline constexpr std::string_view kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

struct RunAtStartupEnvironment {
    ui::FrmMain& form;
    platform::Registry& registry;
    services::SettingsStore& settings;
    // The label's words, and the box that says what could not be removed.
    const services::MessageCatalogue& messages;
    services::Dialogs& dialogs;
    const std::string& productName;
    // The program's own file, with its folder and ".exe".
    std::string programPath;
};

enum class RunEntryScope { None, AllUsers, ThisUser };

// The command a Run value holds: the full path in double quotes, so that
// Windows never tries "C:\Program.exe" for a path with blanks.
std::string RunCommand(std::string_view programPath);

// Where an entry of this program is found: HKEY_LOCAL_MACHINE in either
// registry view first, then HKEY_CURRENT_USER. An entry is a string value
// named after the executable or the product whose command names the
// executable.
RunEntryScope FindRunEntry(const RunAtStartupEnvironment& env);

// The label's text for what FindRunEntry finds now.
void ShowRunAtStartupStatus(const RunAtStartupEnvironment& env);

// The box's click: stores "chkRunAtStartup". Ticked, it writes the entry
// for all users (for this user when the machine-wide list cannot be
// written), unless the program has an entry already. Unticked, it removes
// the program's entries from both lists, and says so when one could not
// be removed. The label follows.
void chkRunAtStartup_Click(const RunAtStartupEnvironment& env);

// The box as stored and its label; nothing is written. Only the first run
// of the product "Fennimar" registers the program, as ticking the box
// does.
void RestoreRunAtStartup(const RunAtStartupEnvironment& env);

// What the box and its label work with in this run of the program.
RunAtStartupEnvironment RunAtStartupOf(App& app);

// Attaches the click handler; the environment lives in the handler.
void BindRunAtStartup(RunAtStartupEnvironment env);

}  // namespace bastion
