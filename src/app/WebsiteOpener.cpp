#include "app/WebsiteOpener.h"

#include "common/Text.h"

namespace bastion {

std::string WebsiteUrl(std::string_view address) {
    if (ContainsIgnoreCase(address, "http://") || ContainsIgnoreCase(address, "https://")) {
        return std::string(address);
    }
    return "http://" + std::string(address);
}

void WebsiteOpener::Open() {
    form.SetVisible(true);
    shell_.Open(WebsiteUrl(identity_.website), platform::ShowWindow::Normal);
    form.Timer1.SetEnabled(true);
}

void frmAbout_Load(ui::FrmAbout& about, const services::Identity& identity, WebsiteOpener& website) {
    // "About [ProgramName]", unless a translation has filled it in already.
    about.SetCaption(services::ReplaceCaptionPlaceholders(about.Caption(), identity));
    about.lblProductName.SetCaption(identity.productName);
    about.lblCompanyName.SetCaption(identity.companyName);
    about.lblVersion.SetCaption(identity.VersionText());
    about.lblWebsite.SetCaption(identity.website);
    about.lblWebsite.onClick = [&website] { website.Open(); };
}

}  // namespace bastion
