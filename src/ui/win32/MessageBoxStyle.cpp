#include "ui/win32/MessageBoxStyle.h"

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

unsigned int MessageBoxFlags(services::MsgButtons buttons, services::MsgIcon icon) {
    unsigned int flags = 0;
    switch (buttons) {
        case services::MsgButtons::Ok: flags = MB_OK; break;
        case services::MsgButtons::OkCancel: flags = MB_OKCANCEL; break;
        case services::MsgButtons::YesNo: flags = MB_YESNO; break;
        case services::MsgButtons::YesNoCancel: flags = MB_YESNOCANCEL; break;
        case services::MsgButtons::AbortRetryIgnore: flags = MB_ABORTRETRYIGNORE; break;
        case services::MsgButtons::RetryCancel: flags = MB_RETRYCANCEL; break;
    }
    switch (icon) {
        case services::MsgIcon::None: break;
        case services::MsgIcon::Information: flags |= MB_ICONINFORMATION; break;
        case services::MsgIcon::Question: flags |= MB_ICONQUESTION; break;
        case services::MsgIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
        case services::MsgIcon::Critical: flags |= MB_ICONERROR; break;
    }
    return flags;
}

services::MsgResult MessageBoxAnswer(int pressed) {
    switch (pressed) {
        case IDOK: return services::MsgResult::Ok;
        case IDYES: return services::MsgResult::Yes;
        case IDNO: return services::MsgResult::No;
        case IDABORT: return services::MsgResult::Abort;
        case IDRETRY: return services::MsgResult::Retry;
        case IDIGNORE: return services::MsgResult::Ignore;
        default: return services::MsgResult::Cancel;
    }
}

}  // namespace bastion::win32
