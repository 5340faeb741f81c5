#include "ui/win32/InputBoxDialog.h"

#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

namespace {

// Predefined window class atoms of dialog items.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

// A DLGTEMPLATE and its items laid out in memory as DialogBoxIndirect reads
// them: words, with every item starting on a 4-byte boundary.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short width, short height, WORD itemCount) {
        AddDword(style | DS_SETFONT);
        AddDword(0);  // extended style
        words_.push_back(itemCount);
        AddRect(0, 0, width, height);
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the default dialog class
        words_.push_back(0);  // the title is set on WM_INITDIALOG
        words_.push_back(8);  // font size in points
        AddText(L"MS Shell Dlg");
    }

    void AddItem(DWORD style, short x, short y, short width, short height, WORD id, WORD classAtom,
                 const wchar_t* text = L"") {
        if (words_.size() % 2 != 0) words_.push_back(0);
        AddDword(style | WS_CHILD | WS_VISIBLE);
        AddDword(0);
        AddRect(x, y, width, height);
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(classAtom);
        AddText(text);
        words_.push_back(0);  // no creation data
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void AddDword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void AddRect(short x, short y, short width, short height) {
        for (short value : {x, y, width, height}) words_.push_back(static_cast<WORD>(value));
    }
    void AddText(const wchar_t* text) {
        for (; *text != L'\0'; ++text) words_.push_back(static_cast<WORD>(*text));
        words_.push_back(0);
    }

    std::vector<WORD> words_;
};

struct InputBoxState {
    std::wstring prompt;
    std::wstring title;
    std::wstring defaultText;
    std::wstring typed;
};

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* state = reinterpret_cast<InputBoxState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, state->title.c_str());
            SetDlgItemTextW(dialog, kInputBoxPromptId, state->prompt.c_str());
            SetDlgItemTextW(dialog, kInputBoxEditId, state->defaultText.c_str());
            HWND edit = GetDlgItem(dialog, kInputBoxEditId);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            SetFocus(edit);
            return FALSE;  // the focus was set here
        }
        case WM_COMMAND: {
            auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
            const int id = LOWORD(wParam);
            if (id == IDOK && state != nullptr) {
                HWND edit = GetDlgItem(dialog, kInputBoxEditId);
                std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
                const int length = GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
                text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
                state->typed = std::move(text);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (id == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

std::optional<std::string> ShowInputBox(HWND__* owner, const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) {
    // The layout of the classic input box, in dialog units: the prompt on the
    // left, OK and Cancel on the right, the text line across the bottom.
    DialogTemplate layout(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 240, 92, 4);
    layout.AddItem(SS_LEFT | SS_NOPREFIX, 7, 7, 170, 56, kInputBoxPromptId, kStaticClass);
    layout.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, 185, 7, 48, 14, IDOK, kButtonClass, L"OK");
    layout.AddItem(BS_PUSHBUTTON | WS_TABSTOP, 185, 25, 48, 14, IDCANCEL, kButtonClass, L"Cancel");
    layout.AddItem(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 71, 226, 13, kInputBoxEditId, kEditClass);

    InputBoxState state{Widen(prompt), Widen(title), Widen(defaultText), {}};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), owner, InputBoxProc,
                                                   reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return std::nullopt;
    return Narrow(state.typed);
}

}  // namespace bastion::win32
