// The native window of a form model. It creates a native control for each
// model control that the concrete window places (which controls appear
// where is that window's layout, written in code), turns the user's actions
// into the models' calls, maps the form's timers to window timers and its
// menu items to a menu bar, and after every handler it ran (and whenever
// SyncAll is called, as the event pump does after each message) pushes what
// changed: each control whose change counter moved since its last push,
// and the form's caption and visibility.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/forms/Form.h"
#include "ui/translation/WindowTranslator.h"
#include "ui/layout/Geometry.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/MenuBar.h"
#include "ui/win32/NativeControl.h"
#include "ui/win32/Panel.h"
#include "ui/win32/TimerBindings.h"
#include "ui/win32/UiFonts.h"
#include "ui/win32/Window.h"

namespace bastion::win32 {

struct FormWindowOptions {
    const wchar_t* className = L"BastionForm";
    // Client size and smallest window size in layout units.
    int width = 800;
    int height = 600;
    int minWidth = 400;
    int minHeight = 300;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    // Ends the message loop when the window is destroyed.
    bool quitOnDestroy = false;
    // A framed, sizable top-level window unless said otherwise (a splash
    // is a bare popup).
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    // In the middle of the primary monitor's work area rather than where
    // the system places new windows.
    bool centered = false;
    // A small window of another one: it stays above its owner, cannot be
    // resized and has no minimize or maximize box.
    HWND owner = nullptr;
    bool fixedSize = false;
    // Shown without taking the focus from the window the user works in (a
    // pop-up notification).
    bool showWithoutActivating = false;
};

class FormWindow : public Window, public ControlHost, public ChildMessageSink {
public:
    explicit FormWindow(ui::Form& form);
    ~FormWindow() override;

    // Puts the form into the current language first: every window of the
    // program is translated when it is created.
    bool Create(const FormWindowOptions& options);
    ui::Form& Form() const { return form_; }

    // The translation the creation goes through. A window given none takes
    // the one of the program's other windows (the main window's), so that
    // every window speaks the language chosen.
    void SetTranslator(const ui::WindowTranslator* translator) { translator_ = translator; }
    const ui::WindowTranslator* Translator() const { return translator_; }

    // Pushes every change of the models to the native window.
    void SyncAll();

    // The native control of a model control, or nullptr when the window
    // shows none for it.
    NativeControl* NativeOf(const ui::Control& model) const;

    // The window's own events, which the form model has no handlers for:
    // the close box (default: destroy the window), and a change of size or
    // state (after the layout followed it).
    std::function<void()> onClose;
    std::function<void(bool minimized, bool maximized)> onResize;
    // Windows logs off or shuts down; the process ends soon after this
    // returns.
    std::function<void()> onSessionEnd;
    // After every push of the models: windows of other forms that the
    // handlers of this one change (a timer started elsewhere) follow here.
    std::function<void()> afterSync;
    // A message that no model knows of (a notification icon's callback, the
    // taskbar coming back): true when it was handled, and the models'
    // changes are then pushed.
    std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)> onMessage;

    // ControlHost
    const UiFonts& Fonts() const override { return fonts_; }
    int Dpi() const override { return dpi_; }
    HBRUSH Brush(COLORREF colour) override;

    // ChildMessageSink: what the children of pages tell their parent.
    bool OnChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    // Creates the native controls (with Add) when the window is created.
    virtual void CreateControls() = 0;
    // Places the controls for the client size.
    virtual void Layout(const ui::Rect& client) = 0;
    // Paints what lies behind the controls; the default is white.
    virtual void PaintBackground(HDC dc, const RECT& client);
    // After SyncAll pushed the models; a window whose layout depends on
    // the models' visibility lays out again here.
    virtual void AfterSync() {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Creates a native control of type T (constructed from args) as a child
    // of parent, on the given background colour.
    template <typename T, typename... Args>
    T& Add(HWND parent, COLORREF background, Args&&... args) {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T& added = *control;
        Register(std::move(control), parent, background);
        return added;
    }

    void Place(const ui::Control& model, const ui::Rect& bounds);
    void Relayout();

private:
    void Register(std::unique_ptr<NativeControl> control, HWND parent, COLORREF background);
    NativeControl* ControlOfWindow(HWND window) const;
    bool DispatchChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnDpiChanged(int dpi, const RECT* suggested);
    // Runs a model handler with the window's boundary rules: nothing
    // escapes, and the window shows what the handler changed.
    template <typename F>
    void RunHandler(F&& handler);

    ui::Form& form_;
    const ui::WindowTranslator* translator_ = nullptr;
    FormWindowOptions options_;
    UiFonts fonts_;
    int dpi_ = ui::kBaseDpi;
    std::map<COLORREF, UniqueGdiObject> brushes_;
    std::vector<std::unique_ptr<NativeControl>> controls_;
    std::map<int, NativeControl*> byId_;
    std::map<HWND, NativeControl*> byWindow_;
    std::map<const ui::Control*, NativeControl*> byModel_;
    MenuBar menu_;
    TimerBindings timers_;
    std::uint64_t syncedForm_ = 0;
    bool formEverSynced_ = false;
    bool syncing_ = false;
    int nextId_ = 1000;
};

// The program's form windows that are not children of another window, in
// the system's order.
std::vector<FormWindow*> OpenFormWindows();

// Another language was chosen: every open form window is translated again
// and shows it.
void RetranslateOpenWindows(const ui::WindowTranslator& translator);

}  // namespace bastion::win32
