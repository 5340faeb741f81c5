#include "app/AlertWindows.h"

#include "app/AlertWait.h"
#include "services/messages/GuardMessages.h"

namespace bastion {

AlertWindows::AlertWindows(const services::Services& services) : services_(services) {
    spywareFound.SetCaption(services_.identity.productName);
}

AlertAnswer AlertWindows::AskAboutProgram(const std::string& fileName, const std::string& companyName,
                                          bool needsAdministrator) {
    spywareFound.Fill(fileName, companyName,
                      needsAdministrator ? services_.messages.getMessages(services::msg::kAlertNeedsAdministrator)
                                         : std::string());
    switch (AskAndWait(spywareFound, services_.pump, services_.operations, services_.clock)) {
        case ui::AlertButton::Yes: return AlertAnswer::Stop;
        case ui::AlertButton::No: return AlertAnswer::Allow;
        case ui::AlertButton::None: break;
    }
    return AlertAnswer::NoAnswer;
}

StartPageAnswer AlertWindows::AskAboutStartPage(const std::string& remembered, const std::string& current) {
    homePageChanged.Fill(services_.messages, services_.identity.productName, remembered, current);
    switch (AskAndWait(homePageChanged, services_.pump, services_.operations, services_.clock)) {
        case ui::AlertButton::Yes: return StartPageAnswer::PutBack;
        case ui::AlertButton::No: return StartPageAnswer::Keep;
        case ui::AlertButton::None: break;
    }
    return StartPageAnswer::NoAnswer;
}

void AlertWindows::Dismiss() {
    spywareFound.Dismiss();
    homePageChanged.Dismiss();
}

}  // namespace bastion
