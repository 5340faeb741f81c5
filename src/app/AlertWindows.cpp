#include "app/AlertWindows.h"

#include "app/AlertWait.h"
#include "services/messages/GuardMessages.h"

namespace bastion {

AlertWindows::AlertWindows(const services::Services& services) : services_(services) {
    spywareFound.SetCaption(services_.identity.productName);
    fileThreat.SetCaption(services_.identity.productName);
    fileShieldNotice.SetCaption(services_.identity.productName);
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

FileAnswer AlertWindows::AskAboutFile(const Detection& detection, const std::string& fileName,
                                      const std::string& folder) {
    fileThreat.Fill(detection.threat, fileName, folder);
    switch (AskAndWait(fileThreat, services_.pump, services_.operations, services_.clock)) {
        case ui::AlertButton::Yes: return FileAnswer::Quarantine;
        case ui::AlertButton::No: return FileAnswer::Allow;
        case ui::AlertButton::None: break;
    }
    return FileAnswer::NoAnswer;
}

void AlertWindows::TellQuarantined(const Detection& detection) {
    fileShieldNotice.Show(services_.messages.getMessages(services::msg::kFileShieldQuarantined) + "\n" +
                          detection.threat + "\n" + detection.location);
}

void AlertWindows::Dismiss() {
    spywareFound.Dismiss();
    homePageChanged.Dismiss();
    fileThreat.Dismiss();
}

}  // namespace bastion
