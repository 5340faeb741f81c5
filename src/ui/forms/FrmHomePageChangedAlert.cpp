#include "ui/forms/FrmHomePageChangedAlert.h"

#include "common/Lines.h"
#include "common/Utf.h"
#include "services/messages/GuardMessages.h"

namespace bastion::ui {

namespace {

// Long enough for any ordinary address, short enough for the window.
constexpr std::size_t kShownPageCharacters = 120;

}  // namespace

FrmHomePageChangedAlert::FrmHomePageChangedAlert() : AlertForm("frmHomePageChangedAlert") {
    cmdYes.SetCaption("Yes");
    cmdNO.SetCaption("No");
}

std::string ShortenedForDisplay(const std::string& text, std::size_t maxCharacters) {
    std::size_t pos = 0;
    std::size_t characters = 0;
    std::size_t cut = std::string::npos;
    char32_t cp = 0;
    while (NextCodePoint(text, pos, cp)) {
        ++characters;
        // Where the text ends when "..." takes the last three places.
        if (characters + 3 == maxCharacters) cut = pos;
        if (characters > maxCharacters) return text.substr(0, cut == std::string::npos ? 0 : cut) + "...";
    }
    return text;
}

void FrmHomePageChangedAlert::Fill(const services::MessageCatalogue& messages, const std::string& productName,
                                   const std::string& remembered, const std::string& current) {
    SetCaption(productName);
    lblFrmHomePageProductName.SetCaption(productName);
    std::string info = messages.getMessages(services::msg::kHomePageChanged);
    info.append(kCrLf).append(kCrLf);
    info.append(messages.getMessages(services::msg::kHomePageKeep)).append(kCrLf);
    info.append(ShortenedForDisplay(remembered, kShownPageCharacters)).append(kCrLf).append(kCrLf);
    info.append(messages.getMessages(services::msg::kHomePageChange)).append(kCrLf);
    info.append(ShortenedForDisplay(current, kShownPageCharacters));
    lblHomePageInfo.SetCaption(std::move(info));
}

}  // namespace bastion::ui
