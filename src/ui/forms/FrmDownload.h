// The progress window of a definition update: a blinking line that says the
// program talks to the server, and the status of the request itself. Its
// "Cancel" closes the window and ends the update.
#pragma once

#include "services/messages/MessageCatalogue.h"
#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

namespace bastion::ui {

class FrmDownload : public Form {
public:
    FrmDownload();

    // The two pictures of the blink; only one shows at a time.
    Label picUp{*this, "picUp"};
    Label picDown{*this, "picDown"};
    Label lblProduct{*this, "lblProduct"};
    TextBox txtStatus{*this, "txtStatus"};
    CommandButton Command1{*this, "Command1"};  // "Cancel"
    Timer tmrBlink{*this, "tmrBlink", 800, false};

    // The window's notification-area icon (the tray class brings it), a
    // record of its own beside the main window's; its tip is the message
    // MSG_DOWNLOAD_TIP.
    Handler showTrayIcon;
    Handler removeTrayIcon;
    // "Cancel" was pressed.
    Handler onCancel;

    // Shows the window with its blink started from the first step.
    void Form_Load(const services::MessageCatalogue& messages);
    // One blink: the pictures swap and the line changes; the texts cycle
    // every 15 ticks and follow no real progress.
    void tmrBlink_Timer();
    // Closes the window; its icon goes with it.
    void Form_Unload();

    int BlinkStep() const { return blinkStep_; }

private:
    const services::MessageCatalogue* messages_ = nullptr;
    int blinkStep_ = 0;
};

}  // namespace bastion::ui
