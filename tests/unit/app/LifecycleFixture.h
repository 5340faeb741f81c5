// A run of the program on a fake machine with the main window's native side
// recorded: what the start-up and exit sequences asked the window to do.
#pragma once

#include <string>
#include <vector>

#include "app/App.h"
#include "app/MainWindowLifecycle.h"
#include "services/settings/SettingsStore.h"
#include "support/FakePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"

namespace bastion::testing {

// What the seams were asked, in order ("translate English", "end", ...).
struct WindowRecord {
    std::vector<std::string> calls;
    bool maximized = false;
    bool websiteVisible = false;

    int Count(const std::string& call) const {
        int n = 0;
        for (const std::string& each : calls) n += each == call ? 1 : 0;
        return n;
    }
};

inline MainWindowSeams RecordingSeams(WindowRecord& record) {
    MainWindowSeams seams;
    auto note = [&record](std::string call) { return [&record, call] { record.calls.push_back(call); }; };
    seams.translate = [&record](const std::string& language) { record.calls.push_back("translate " + language); };
    seams.showLanguageChooser = note("chooser");
    seams.loadAuxiliaryWindow = note("auxiliary");
    seams.showInTaskList = [&record](bool shown) { record.calls.push_back(shown ? "task list on" : "task list off"); };
    seams.removeTrayIcon = note("tray off");
    seams.isMaximized = [&record] { return record.maximized; };
    seams.maximize = note("maximize");
    seams.minimize = note("minimize");
    seams.closeOtherWindows = {note("close about"), note("close report")};
    seams.websiteWindowVisible = [&record] { return record.websiteVisible; };
    seams.endProgram = note("end");
    return seams;
}

// One start of the program on the machine; several runs share a machine.
struct ProgramRun {
    explicit ProgramRun(FakePlatform& machine)
        : app(machine.Bundle(), dialogs, pump, TestIdentity()), lifecycle(app, RecordingSeams(window)) {}

    ScriptedDialogs dialogs;
    ScriptedEventPump pump;
    WindowRecord window;
    App app;
    MainWindowLifecycle lifecycle;
};

// A value of the per-user store, "<missing>" when it is not there.
inline std::string Stored(const services::SettingsStore& store, std::string_view application, std::string_view section,
                          std::string_view key) {
    return store.ReadSetting(application, section, key, "<missing>");
}

}  // namespace bastion::testing
