// The real dialogs under Wine, answered by a second thread that finds the
// box by its title and presses a button, as a user would.
#include <gtest/gtest.h>

#include <functional>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"
#include "ui/win32/InputBoxDialog.h"
#include "ui/win32/Win32Dialogs.h"

namespace bastion::win32 {
namespace {

// Waits on its own thread for a dialog window with the title, then runs the
// action on it; what the action saw is kept for the test to check.
class DialogAnswerer {
public:
    DialogAnswerer(std::wstring title, std::function<void(HWND)> action)
        : title_(std::move(title)), action_(std::move(action)) {
        thread_.Reset(::CreateThread(nullptr, 0, &DialogAnswerer::Run, this, 0, nullptr));
    }
    ~DialogAnswerer() { ::WaitForSingleObject(thread_.Get(), INFINITE); }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

private:
    static DWORD WINAPI Run(void* self) {
        auto* answerer = static_cast<DialogAnswerer*>(self);
        for (int i = 0; i < 500; ++i) {
            if (HWND box = ::FindWindowW(L"#32770", answerer->title_.c_str())) {
                answerer->action_(box);
                return 0;
            }
            ::Sleep(20);
        }
        return 1;
    }

    std::wstring title_;
    std::function<void(HWND)> action_;
    UniqueHandle thread_;
};

std::string WindowText(HWND window) {
    wchar_t text[2048] = {};
    ::GetWindowTextW(window, text, 2048);
    return Narrow(text);
}

TEST(DialogsWineTest, MessageBoxShowsTheTextAndReportsTheButtonPressed) {
    Win32Dialogs dialogs;
    std::string shown;
    {
        DialogAnswerer answerer(L"Permission Denied (test)", [&](HWND box) {
            // The text of a message box is its static control 0xFFFF.
            shown = WindowText(::GetDlgItem(box, 0xFFFF));
            ::PostMessageW(box, WM_COMMAND, IDRETRY, 0);
        });
        EXPECT_EQ(services::MsgResult::Retry,
                  dialogs.MessageBox("Grüße: no access.", "Permission Denied (test)",
                                     services::MsgButtons::AbortRetryIgnore, services::MsgIcon::Critical));
    }
    EXPECT_EQ("Grüße: no access.", shown);
}

TEST(DialogsWineTest, InputBoxReturnsTheTypedTextOrNothingOnCancel) {
    Win32Dialogs dialogs;
    std::string prompt;
    std::string initial;
    {
        DialogAnswerer answerer(L"Details (test)", [&](HWND box) {
            prompt = WindowText(::GetDlgItem(box, kInputBoxPromptId));
            initial = WindowText(::GetDlgItem(box, kInputBoxEditId));
            ::SetDlgItemTextW(box, kInputBoxEditId, Widen("Falsch erkannt: ü").c_str());
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(std::optional<std::string>("Falsch erkannt: ü"),
                  dialogs.InputBox("Why is this a false positive?", "Details (test)", "default text"));
    }
    EXPECT_EQ("Why is this a false positive?", prompt);
    EXPECT_EQ("default text", initial);

    DialogAnswerer cancel(L"Cancelled (test)", [](HWND box) { ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(std::nullopt, dialogs.InputBox("Prompt", "Cancelled (test)", "x"));
}

}  // namespace
}  // namespace bastion::win32
