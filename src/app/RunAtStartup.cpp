#include "app/RunAtStartup.h"

#include <utility>

#include "common/PathParts.h"
#include "common/Text.h"
#include "services/messages/GuardMessages.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

namespace {

namespace keys = services::settings;
using platform::Hive;
using platform::RegView;

const std::string kRunKey{kRunKeyPath};

// HKEY_LOCAL_MACHINE's list differs between the registry views: a 32-bit
// installer writes to the 32-bit one. The per-user list is one list.
constexpr RegView kMachineViews[] = {RegView::Bits64, RegView::Bits32};

std::string ExecutableName(const RunAtStartupEnvironment& env) { return Trim(FileTitleOfPath(env.programPath)); }

// The value is a command that starts this program.
bool StartsThisProgram(platform::Registry& registry, Hive hive, RegView view, const std::string& name,
                       const std::string& executable) {
    if (name.empty() || executable.empty()) return false;
    platform::RegValue value;
    if (registry.QueryValue(hive, kRunKey, name, value, view) != platform::kRegOk) return false;
    const bool text = value.type == platform::RegType::String || value.type == platform::RegType::ExpandString;
    return text && ContainsIgnoreCase(value.text, executable);
}

// The names an entry of this program may have: the one the box writes and
// the one an installer writes.
std::vector<std::string> EntryNames(const RunAtStartupEnvironment& env) {
    std::vector<std::string> names{ExecutableName(env)};
    const std::string product = Trim(env.productName);
    if (!EqualsIgnoreCase(product, names.front())) names.push_back(product);
    return names;
}

bool HasEntry(const RunAtStartupEnvironment& env, Hive hive, RegView view) {
    const std::string executable = ExecutableName(env);
    for (const std::string& name : EntryNames(env)) {
        if (StartsThisProgram(env.registry, hive, view, name, executable)) return true;
    }
    return false;
}

bool WriteEntry(const RunAtStartupEnvironment& env, Hive hive) {
    if (env.registry.CreateKey(hive, kRunKey) != platform::kRegOk) return false;
    return env.registry.SetValue(hive, kRunKey, ExecutableName(env),
                                 platform::RegValue::String(RunCommand(env.programPath))) == platform::kRegOk;
}

// Only values that start this program go; a failure (no right to write the
// machine-wide list) leaves that entry, and the label then tells of it.
void RemoveEntries(const RunAtStartupEnvironment& env, Hive hive, RegView view) {
    const std::string executable = ExecutableName(env);
    for (const std::string& name : EntryNames(env)) {
        if (StartsThisProgram(env.registry, hive, view, name, executable)) {
            env.registry.DeleteValue(hive, kRunKey, name, view);
        }
    }
}

// One entry, for all users where this user may write that list: only when
// the program has none in either list, so that ticking never adds a second
// start at log-on.
void EnsureEntry(const RunAtStartupEnvironment& env) {
    if (FindRunEntry(env) != RunEntryScope::None) return;
    // A standard user cannot write the machine-wide list: the program then
    // starts for this user alone.
    if (!WriteEntry(env, Hive::LocalMachine)) WriteEntry(env, Hive::CurrentUser);
}

}  // namespace

std::string RunCommand(std::string_view programPath) { return "\"" + Trim(programPath) + "\""; }

RunEntryScope FindRunEntry(const RunAtStartupEnvironment& env) {
    for (RegView view : kMachineViews) {
        if (HasEntry(env, Hive::LocalMachine, view)) return RunEntryScope::AllUsers;
    }
    if (HasEntry(env, Hive::CurrentUser, RegView::Default)) return RunEntryScope::ThisUser;
    return RunEntryScope::None;
}

void ShowRunAtStartupStatus(const RunAtStartupEnvironment& env) {
    std::string_view key = services::msg::kRunDisabled;
    switch (FindRunEntry(env)) {
        case RunEntryScope::AllUsers: key = services::msg::kRunAllUsers; break;
        case RunEntryScope::ThisUser: key = services::msg::kRunThisUser; break;
        case RunEntryScope::None: break;
    }
    env.form.lblRunAtStart.SetCaption(env.messages.getMessages(key));
}

void chkRunAtStartup_Click(const RunAtStartupEnvironment& env) {
    const bool ticked = env.form.chkRunAtStartup.Checked();
    env.settings.WriteCheck(keys::kChkRunAtStartup, ticked);
    if (ticked) {
        EnsureEntry(env);
    } else {
        for (RegView view : kMachineViews) RemoveEntries(env, Hive::LocalMachine, view);
        RemoveEntries(env, Hive::CurrentUser, RegView::Default);
        // The machine-wide entry needs administrator rights to go.
        if (FindRunEntry(env) != RunEntryScope::None) {
            env.dialogs.MessageBox(env.messages.getMessages(services::msg::kRunNotRemoved), env.productName,
                                   services::MsgButtons::Ok, services::MsgIcon::Exclamation);
        }
    }
    ShowRunAtStartupStatus(env);
}

void RestoreRunAtStartup(const RunAtStartupEnvironment& env) {
    const services::SettingKey& key = keys::kChkRunAtStartup;
    const bool firstRunRegisters = env.productName == keys::kRunAtStartupFirstRunProduct &&
                                   env.settings.Read(keys::kRanOneTime) == keys::kUnchecked;
    const long long stored = env.settings.ReadNumber(key.section, key.name, firstRunRegisters ? 1 : 0);
    if (firstRunRegisters) env.settings.Write(keys::kRanOneTime, keys::kChecked);
    // Shown, not clicked: the entry is as the user left it.
    ui::CheckBox& box = env.form.chkRunAtStartup;
    ui::Handler click = std::exchange(box.onClick, nullptr);
    box.SetValue(ui::CheckValue(stored == 1));
    box.onClick = std::move(click);
    if (firstRunRegisters && stored == 1) chkRunAtStartup_Click(env);
    ShowRunAtStartupStatus(env);
}

RunAtStartupEnvironment RunAtStartupOf(App& app) {
    return {app.form,   app.platform.registry,   app.settings, app.messages, app.dialogs, app.identity.productName,
            app.platform.system.ProgramPath()};
}

void BindRunAtStartup(RunAtStartupEnvironment env) {
    ui::CheckBox& box = env.form.chkRunAtStartup;
    box.onClick = [env = std::move(env)] { chkRunAtStartup_Click(env); };
}

}  // namespace bastion
