#include "ui/win32/FormWindow.h"

#include "platform/win32/WideText.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

FormWindow::FormWindow(ui::Form& form) : form_(form), menu_(form), timers_(form) {}

FormWindow::~FormWindow() {
    // While the controls still exist: their windows go first.
    Destroy();
}

namespace {

BOOL CALLBACK CollectFormWindow(HWND window, LPARAM found) {
    if (auto* form = dynamic_cast<FormWindow*>(Window::FromHwnd(window))) {
        reinterpret_cast<std::vector<FormWindow*>*>(found)->push_back(form);
    }
    return TRUE;
}

const ui::WindowTranslator* TranslatorOfOpenWindows() {
    for (FormWindow* window : OpenFormWindows()) {
        if (window->Translator()) return window->Translator();
    }
    return nullptr;
}

}  // namespace

std::vector<FormWindow*> OpenFormWindows() {
    std::vector<FormWindow*> found;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectFormWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void RetranslateOpenWindows(const ui::WindowTranslator& translator) {
    for (FormWindow* window : OpenFormWindows()) {
        try {
            translator.TranslateWindow(window->Form());
        } catch (...) {
            // That window keeps its texts; the others follow.
        }
        window->SyncAll();
    }
}

bool FormWindow::Create(const FormWindowOptions& options) {
    options_ = options;
    if (!translator_) translator_ = TranslatorOfOpenWindows();
    if (translator_) {
        try {
            translator_->TranslateWindow(form_);
        } catch (...) {
            // Shown in the texts it has.
        }
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                        ICC_PROGRESS_CLASS | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);
    const int dpi = WindowDpi(nullptr);
    RECT frame{0, 0, ui::Scale(options.width, dpi), ui::Scale(options.height, dpi)};
    DWORD style = options.style;
    DWORD exStyle = options.exStyle;
    if (options.fixedSize) {
        style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        exStyle |= WS_EX_DLGMODALFRAME;
    }
    ::AdjustWindowRectEx(&frame, style, menu_.Empty() ? FALSE : TRUE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    RECT area;
    if (options.owner && ::GetWindowRect(options.owner, &area)) {
        // Centred over its owner.
        x = area.left + (area.right - area.left - width) / 2;
        y = area.top + (area.bottom - area.top - height) / 2;
    } else if (options.centered && ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        x = area.left + (area.right - area.left - width) / 2;
        y = area.top + (area.bottom - area.top - height) / 2;
    }
    WindowClass windowClass{options.className, options.icon, options.smallIcon, 0};
    return CreateBound(windowClass, style, exStyle, options.owner, Widen(form_.Caption()).c_str(), x, y, width,
                       height);
}

HBRUSH FormWindow::Brush(COLORREF colour) {
    auto found = brushes_.find(colour);
    if (found == brushes_.end()) {
        found = brushes_.emplace(colour, UniqueGdiObject(::CreateSolidBrush(colour))).first;
    }
    return static_cast<HBRUSH>(found->second.Get());
}

void FormWindow::Register(std::unique_ptr<NativeControl> control, HWND parent, COLORREF background) {
    const int id = nextId_++;
    if (!control->Create(*this, parent, id, background)) return;
    NativeControl* native = control.get();
    byId_[id] = native;
    byWindow_[native->Hwnd()] = native;
    byModel_[&native->Model()] = native;
    controls_.push_back(std::move(control));
}

NativeControl* FormWindow::NativeOf(const ui::Control& model) const {
    auto found = byModel_.find(&model);
    return found == byModel_.end() ? nullptr : found->second;
}

NativeControl* FormWindow::ControlOfWindow(HWND window) const {
    auto found = byWindow_.find(window);
    return found == byWindow_.end() ? nullptr : found->second;
}

void FormWindow::Place(const ui::Control& model, const ui::Rect& bounds) {
    if (NativeControl* native = NativeOf(model)) native->SetBounds(bounds);
}

void FormWindow::Relayout() {
    if (!Hwnd()) return;
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    Layout({client.left, client.top, client.right, client.bottom});
}

template <typename F>
void FormWindow::RunHandler(F&& handler) {
    try {
        handler();
    } catch (...) {
        // A failing handler leaves the models as far as it got; the window
        // still shows that state.
    }
    SyncAll();
}

void FormWindow::SyncAll() {
    if (!Hwnd() || syncing_) return;
    syncing_ = true;
    try {
        if (!formEverSynced_ || form_.ChangeCount() != syncedForm_) {
            syncedForm_ = form_.ChangeCount();
            formEverSynced_ = true;
            ::SetWindowTextW(Hwnd(), Widen(form_.Caption()).c_str());
            const bool shown = ::IsWindowVisible(Hwnd()) != FALSE;
            const int show = options_.showWithoutActivating ? SW_SHOWNOACTIVATE : SW_SHOW;
            if (form_.Visible() != shown) ::ShowWindow(Hwnd(), form_.Visible() ? show : SW_HIDE);
        }
        for (auto& control : controls_) control->ReadBack();
        for (auto& control : controls_) control->SyncIfChanged();
        menu_.SyncIfChanged(Hwnd());
        timers_.Sync(Hwnd());
        AfterSync();
        if (afterSync) afterSync();
    } catch (...) {
        // A control that cannot be pushed keeps its old look.
    }
    syncing_ = false;
}

void FormWindow::PaintBackground(HDC dc, const RECT& client) { ::FillRect(dc, &client, Brush(theme::kContent)); }

bool FormWindow::OnChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchChildMessage(message, wParam, lParam, result);
}

bool FormWindow::DispatchChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND: {
            if (lParam == 0) {
                // A menu command (accelerators are not used).
                if (ui::MenuItem* item = menu_.ItemOfCommand(LOWORD(wParam))) {
                    RunHandler([item] {
                        if (item->Enabled()) item->Click();
                    });
                    result = 0;
                    return true;
                }
                return false;
            }
            NativeControl* control = ControlOfWindow(reinterpret_cast<HWND>(lParam));
            if (!control) return false;
            RunHandler([control, wParam] { control->OnCommand(HIWORD(wParam)); });
            result = 0;
            return true;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            NativeControl* control = ControlOfWindow(header->hwndFrom);
            // A list view passes on the notifications of its header.
            if (!control) control = ControlOfWindow(::GetParent(header->hwndFrom));
            if (!control) return false;
            // Painting asks for rows (and says which it will ask for) and
            // draws; nothing the user did, and nothing may change the list
            // under its own painting.
            const bool painting = header->code == LVN_GETDISPINFOW || header->code == NM_CUSTOMDRAW ||
                                  header->code == LVN_ODCACHEHINT;
            bool handled = false;
            if (painting) {
                try {
                    handled = control->OnNotify(*header, result);
                } catch (...) {
                    handled = false;
                }
            } else {
                RunHandler([&] { handled = control->OnNotify(*header, result); });
            }
            return handled;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlType == ODT_MENU) {
                if (!menu_.Draw(*item, fonts_)) return false;
                result = TRUE;
                return true;
            }
            NativeControl* control = ControlOfWindow(item->hwndItem);
            if (!control) return false;
            result = control->OnDrawItem(*item) ? TRUE : FALSE;
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: {
            NativeControl* control = ControlOfWindow(reinterpret_cast<HWND>(lParam));
            if (!control) return false;
            result = reinterpret_cast<LRESULT>(control->OnColor(reinterpret_cast<HDC>(wParam)));
            return true;
        }
        default:
            return false;
    }
}

void FormWindow::OnDpiChanged(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    fonts_.Create(dpi);
    for (auto& control : controls_) control->ApplyFonts();
    menu_.Invalidate();
    menu_.SyncIfChanged(Hwnd());
    if (suggested) {
        ::SetWindowPos(Hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Relayout();
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (onMessage) {
        bool handled = false;
        try {
            handled = onMessage(message, wParam, lParam);
        } catch (...) {
            handled = true;
        }
        if (handled) {
            SyncAll();
            return 0;
        }
    }
    if (IsChildMessage(message) && DispatchChildMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_CREATE:
            dpi_ = WindowDpi(Hwnd());
            fonts_.Create(dpi_);
            CreateControls();
            SyncAll();
            Relayout();
            return 0;
        case WM_SIZE:
            Relayout();
            if (onResize) {
                RunHandler([this, wParam] { onResize(wParam == SIZE_MINIMIZED, wParam == SIZE_MAXIMIZED); });
            }
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            return menu_.Measure(*item, fonts_) ? TRUE : Default(message, wParam, lParam);
        }
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = ui::Scale(options_.minWidth, dpi_);
            info->ptMinTrackSize.y = ui::Scale(options_.minHeight, dpi_);
            return 0;
        }
        case WM_TIMER: {
            bool ours = false;
            RunHandler([&] { ours = timers_.OnTimer(Hwnd(), wParam); });
            return ours ? 0 : Default(message, wParam, lParam);
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(Hwnd(), &paint);
            RECT client;
            ::GetClientRect(Hwnd(), &client);
            PaintBackground(dc, client);
            ::EndPaint(Hwnd(), &paint);
            return 0;
        }
        case WM_CLOSE:
            if (onClose) {
                RunHandler([this] { onClose(); });
            } else {
                ::DestroyWindow(Hwnd());
            }
            return 0;
        case WM_ENDSESSION:
            if (wParam && onSessionEnd) RunHandler([this] { onSessionEnd(); });
            return 0;
        case WM_DESTROY:
            timers_.StopAll(Hwnd());
            if (options_.quitOnDestroy) ::PostQuitMessage(0);
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

}  // namespace bastion::win32
