#include "ui/win32/InputControls.h"

#include "platform/win32/WideText.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {

std::string WindowTextOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int read = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
    return Narrow(text);
}

SYSTEMTIME ToSystemTime(const DateTime& value) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(value.year);
    time.wMonth = static_cast<WORD>(value.month);
    time.wDay = static_cast<WORD>(value.day);
    time.wHour = static_cast<WORD>(value.hour);
    time.wMinute = static_cast<WORD>(value.minute);
    time.wSecond = static_cast<WORD>(value.second);
    time.wDayOfWeek = static_cast<WORD>(DayOfWeek(value));
    return time;
}

}  // namespace

// --- text box ----------------------------------------------------------------

namespace {
// The notification the subclassed box sends its parent for the Enter key.
constexpr WORD kEnterPressed = 0x7E01;
constexpr UINT_PTR kEnterSubclassId = 1;
}  // namespace

TextBoxControl::~TextBoxControl() {
    if (subclassed_ && ::IsWindow(subclassed_)) {
        ::RemoveWindowSubclass(subclassed_, EnterKeyProcedure, kEnterSubclassId);
    }
}

LRESULT CALLBACK TextBoxControl::EnterKeyProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                   DWORD_PTR self) {
    const auto* control = reinterpret_cast<const TextBoxControl*>(self);
    const bool takesEnter = static_cast<bool>(control->model_.onEnter);
    if (message == WM_GETDLGCODE && takesEnter && lParam) {
        const auto* pending = reinterpret_cast<const MSG*>(lParam);
        if (pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) {
            return ::DefSubclassProc(window, message, wParam, lParam) | DLGC_WANTMESSAGE;
        }
    }
    if (message == WM_CHAR && wParam == VK_RETURN && takesEnter) {
        ::SendMessageW(::GetParent(window), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), kEnterPressed),
                       reinterpret_cast<LPARAM>(window));
        return 0;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

HWND TextBoxControl::CreateNative(HWND parent, int id) {
    // A multi-line box wraps its lines at its width (the report's long
    // lines stay readable); a single line scrolls sideways.
    DWORD style = WS_TABSTOP;
    if (model_.multiLine) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    if (model_.readOnly) style |= ES_READONLY;
    HWND box = MakeChild(parent, id, L"EDIT", style, WS_EX_CLIENTEDGE);
    if (box && !model_.multiLine &&
        ::SetWindowSubclass(box, EnterKeyProcedure, kEnterSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        subclassed_ = box;
    }
    return box;
}

void TextBoxControl::Sync() {
    SetText(model_.Text());
    SyncState();
}

void TextBoxControl::OnCommand(WORD code) {
    if (code == EN_CHANGE) model_.SetText(WindowTextOf(Hwnd()));
    if (code == kEnterPressed && model_.onEnter) model_.onEnter();
}

HBRUSH TextBoxControl::OnColor(HDC dc) {
    ::SetTextColor(dc, theme::kText);
    ::SetBkColor(dc, theme::kContent);
    return Host().Brush(theme::kContent);
}

// --- drop-down list ----------------------------------------------------------

HWND ComboBoxControl::CreateNative(HWND parent, int id) {
    return MakeChild(parent, id, WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
}

void ComboBoxControl::Sync() {
    if (shownItems_ != model_.Items()) {
        ::SendMessageW(Hwnd(), CB_RESETCONTENT, 0, 0);
        for (const std::string& item : model_.Items()) {
            const std::wstring wide = Widen(item);
            ::SendMessageW(Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        }
        shownItems_ = model_.Items();
    }
    ::SendMessageW(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(model_.ListIndex()), 0);
    SyncState();
}

void ComboBoxControl::OnCommand(WORD code) {
    if (code != CBN_SELCHANGE) return;
    const auto selected = static_cast<int>(::SendMessageW(Hwnd(), CB_GETCURSEL, 0, 0));
    model_.SetListIndex(selected == CB_ERR ? -1 : selected);
}

// --- date and time picker ----------------------------------------------------

HWND DateTimePickerControl::CreateNative(HWND parent, int id) {
    DWORD style = WS_TABSTOP | DTS_SHOWNONE;
    style |= model_.format == ui::PickerFormat::Time ? (DTS_TIMEFORMAT | DTS_UPDOWN) : DTS_SHORTDATEFORMAT;
    return MakeChild(parent, id, DATETIMEPICK_CLASSW, style);
}

void DateTimePickerControl::Sync() {
    // The picker tells of its own change when set; that is not the user's.
    pushing_ = true;
    if (model_.Value() && IsValid(*model_.Value())) {
        SYSTEMTIME time = ToSystemTime(*model_.Value());
        ::SendMessageW(Hwnd(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    } else {
        ::SendMessageW(Hwnd(), DTM_SETSYSTEMTIME, GDT_NONE, 0);
        // Wine draws the tick box as a child button and leaves it ticked
        // here, reading the picker as holding a value; Windows has no such
        // child.
        if (HWND tick = ::FindWindowExW(Hwnd(), nullptr, L"Button", nullptr)) {
            ::SendMessageW(tick, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
    pushing_ = false;
    SyncState();
}

bool DateTimePickerControl::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.code != DTN_DATETIMECHANGE || pushing_) return false;
    const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
    if (change.dwFlags == GDT_NONE) {
        model_.SetValue(std::nullopt);
    } else {
        // A date picker changes the date and keeps the time the model held,
        // a time picker the other way round.
        DateTime value = model_.Value().value_or(DateTime{});
        if (model_.format == ui::PickerFormat::Time) {
            value.hour = change.st.wHour;
            value.minute = change.st.wMinute;
            value.second = change.st.wSecond;
        } else {
            value.year = change.st.wYear;
            value.month = change.st.wMonth;
            value.day = change.st.wDay;
        }
        model_.SetValue(value);
    }
    result = 0;
    return true;
}

}  // namespace bastion::win32
