#include "ui/win32/MessageBoxStyle.h"

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

unsigned int MessageBoxFlags(ui::MsgButtons buttons, ui::MsgIcon icon) {
    unsigned int flags = 0;
    switch (buttons) {
        case ui::MsgButtons::Ok: flags = MB_OK; break;
        case ui::MsgButtons::OkCancel: flags = MB_OKCANCEL; break;
        case ui::MsgButtons::YesNo: flags = MB_YESNO; break;
        case ui::MsgButtons::YesNoCancel: flags = MB_YESNOCANCEL; break;
        case ui::MsgButtons::AbortRetryIgnore: flags = MB_ABORTRETRYIGNORE; break;
        case ui::MsgButtons::RetryCancel: flags = MB_RETRYCANCEL; break;
    }
    switch (icon) {
        case ui::MsgIcon::None: break;
        case ui::MsgIcon::Information: flags |= MB_ICONINFORMATION; break;
        case ui::MsgIcon::Question: flags |= MB_ICONQUESTION; break;
        case ui::MsgIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
        case ui::MsgIcon::Critical: flags |= MB_ICONERROR; break;
    }
    return flags;
}

ui::MsgResult MessageBoxAnswer(int pressed) {
    switch (pressed) {
        case IDOK: return ui::MsgResult::Ok;
        case IDYES: return ui::MsgResult::Yes;
        case IDNO: return ui::MsgResult::No;
        case IDABORT: return ui::MsgResult::Abort;
        case IDRETRY: return ui::MsgResult::Retry;
        case IDIGNORE: return ui::MsgResult::Ignore;
        default: return ui::MsgResult::Cancel;
    }
}

}  // namespace bastion::win32
