// Opening the program's website in the default browser (frmWebsite), from
// the website button, the about window and wherever else the site is
// offered.
#pragma once

#include <string>
#include <string_view>

#include "platform/Shell.h"
#include "services/identity/Identity.h"
#include "ui/forms/FrmAbout.h"
#include "ui/forms/FrmWebsite.h"

namespace bastion {

// The address as the browser needs it: "http://" in front unless it
// already names "http://" or "https://".
std::string WebsiteUrl(std::string_view address);

class WebsiteOpener {
public:
    WebsiteOpener(const services::Identity& identity, platform::Shell& shell) : identity_(identity), shell_(shell) {}

    // Hands the website to the shell and keeps the opener open for its
    // timer's second.
    void Open();
    // While true, closing the main window must not end the program.
    bool Visible() const { return form.Visible(); }

    ui::FrmWebsite form;

private:
    const services::Identity& identity_;
    platform::Shell& shell_;
};

// The about window's texts; its website label opens the site.
void frmAbout_Load(ui::FrmAbout& about, const services::Identity& identity, WebsiteOpener& website);

}  // namespace bastion
