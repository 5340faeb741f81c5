// The program's icon in the notification area, as the app sees it: one icon
// record (a window and an id) that can be added, taken away and given a new
// tip, and what the user does with it. The native side (clsTray) talks to
// the shell; tests use a fake.
#pragma once

#include <functional>
#include <string>

namespace bastion::ui {

enum class TrayEvent {
    // A click with either button: the tray menu opens.
    Select,
    // Enter or Space on the selected icon, the context-menu key: the tray
    // menu opens with the keyboard in it.
    KeySelect,
    // A double click: the window comes back.
    DoubleClick,
};

class Tray {
public:
    virtual ~Tray() = default;

    // Adds the icon with this tip and sets bRunningInTray. An add the shell
    // refuses (no taskbar yet) is retried until it succeeds or the icon is
    // removed.
    virtual void ShowIcon(const std::string& tip) = 0;
    // Takes the icon away and clears bRunningInTray.
    virtual void RemoveIcon() = 0;
    // Only while bRunningInTray is set: a new tip.
    virtual void ChangeToolTip(const std::string& text) = 0;
    // The icon is wanted (between ShowIcon and RemoveIcon).
    virtual bool bRunningInTray() const = 0;
    // The shell holds the icon now, so the user can reach the program
    // through it.
    virtual bool IconPresent() const = 0;

    std::function<void(TrayEvent)> onEvent;
    // The shell took the icon, or lost it (Explorer ended) and a new add
    // failed.
    std::function<void(bool present)> onPresence;
};

}  // namespace bastion::ui
