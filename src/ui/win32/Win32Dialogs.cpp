#include "ui/win32/Win32Dialogs.h"

#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "ui/win32/InputBoxDialog.h"
#include "ui/win32/MessageBoxStyle.h"
#include "platform/win32/WindowsApi.h"

#include <commdlg.h>
#include <shlobj.h>

namespace bastion::win32 {

namespace {

// "Text files|*.txt|All files|*.*" as the open-file dialog reads it: pieces
// separated by NUL characters, the list ended by two.
std::wstring FileDialogFilter(const std::string& filter) {
    std::wstring wide = Widen(filter);
    for (wchar_t& c : wide)
        if (c == L'|') c = L'\0';
    wide.push_back(L'\0');
    wide.push_back(L'\0');
    return wide;
}

}  // namespace

services::MsgResult Win32Dialogs::MessageBox(const std::string& text, const std::string& title,
                                             services::MsgButtons buttons, services::MsgIcon icon) {
    const int pressed =
        ::MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MessageBoxFlags(buttons, icon));
    return MessageBoxAnswer(pressed);
}

std::optional<std::string> Win32Dialogs::InputBox(const std::string& prompt, const std::string& title,
                                                  const std::string& defaultText) {
    return ShowInputBox(owner_, prompt, title, defaultText);
}

std::optional<std::string> Win32Dialogs::OpenFile(const std::string& title, const std::string& filter) {
    const std::wstring wideFilter = FileDialogFilter(filter);
    const std::wstring wideTitle = Widen(title);
    // Room for a long path; the dialog reports a longer one as a failure.
    std::vector<wchar_t> file(32768, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter.empty() ? nullptr : wideFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = wideTitle.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    return NarrowUntilNul(file.data(), file.size());
}

std::optional<std::string> Win32Dialogs::BrowseFolder(const std::string& title) {
    const std::wstring wideTitle = Widen(title);
    BROWSEINFOW browse{};
    browse.hwndOwner = owner_;
    browse.lpszTitle = wideTitle.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    UniquePidl chosen(SHBrowseForFolderW(&browse));
    if (!chosen) return std::nullopt;
    std::vector<wchar_t> path(MAX_PATH + 1, L'\0');
    if (!SHGetPathFromIDListW(chosen.Get(), path.data())) return std::nullopt;
    return NarrowUntilNul(path.data(), path.size());
}

}  // namespace bastion::win32
