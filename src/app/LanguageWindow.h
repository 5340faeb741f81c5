// The language window's commands: choosing a language (stored as
// "Language", every open window follows at once), fetching the newest
// translation file from the language server, and opening the file in the
// user's editor.
#pragma once

#include <functional>

#include "app/App.h"
#include "ui/forms/FrmLanguage.h"

namespace bastion {

class LanguageWindow {
public:
    // Attaches the handlers of the window's controls.
    explicit LanguageWindow(App& app);
    LanguageWindow(const LanguageWindow&) = delete;
    LanguageWindow& operator=(const LanguageWindow&) = delete;

    ui::FrmLanguage form;
    // Translates the open windows other than the main and the language
    // window again (the native side knows which are open).
    std::function<void()> retranslateOpenWindows;

    // Fills the list from the translation file, the stored language
    // chosen, and sets the caption. Run before the window shows.
    void Form_Load();
    // A language was chosen from the list.
    void Combo1_Click();
    // "Check for language updates": the newest file from the language
    // server replaces the one there is, only when it arrived whole; on
    // failure the old file stays and the user is told.
    void Command1_Click();
    // "Translate this program": the file in the user's editor.
    void Command3_Click();

private:
    void FillLanguageList();

    App& app_;
    // Filling the list selects the stored language; that is no choice.
    bool filling_ = false;
};

}  // namespace bastion
