// The home-page shield's question: the browser's start page is no longer
// the remembered one. "Yes" (cmdYes) puts the remembered page back, "No"
// (cmdNO) keeps the new one; closing the window does neither.
#pragma once

#include <string>

#include "services/messages/MessageCatalogue.h"
#include "ui/forms/AlertForm.h"

namespace bastion::ui {

class FrmHomePageChangedAlert : public AlertForm {
public:
    FrmHomePageChangedAlert();

    Label lblFrmHomePageProductName{*this, "lblFrmHomePageProductName"};
    Label lblHomePageInfo{*this, "lblHomePageInfo"};

    // The message in the catalogue's language: the product name, the
    // remembered page (Yes) and the current one (No), each page shortened
    // to what fits the window.
    void Fill(const services::MessageCatalogue& messages, const std::string& productName, const std::string& remembered,
              const std::string& current);
};

// A page address shortened for display: at most maxCharacters characters,
// the last three of them "..." when it was cut.
std::string ShortenedForDisplay(const std::string& text, std::size_t maxCharacters);

}  // namespace bastion::ui
