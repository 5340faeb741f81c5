// Every window the program can show, switched to Deutsch in the language
// window: no text is left in English. Each window of the program is made as
// the program makes it, filled as the program fills it, and read through
// its native controls (captions, labels, buttons, tabs, list headers, drop-
// down lists, menus) in English first and in German after the switch. A
// text that reads the same in both and holds an English word is one the
// switch missed, unless the German translation itself reads so ("OK").
// The texts of message boxes are the catalogue's: each message is compared
// the same way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>

#include "DataFolderFixture.h"
#include "app/App.h"
#include "app/ComposedTexts.h"
#include "app/LanguageWindow.h"
#include "app/MainWindowHandlers.h"
#include "app/StartupSequence.h"
#include "app/WebsiteOpener.h"
#include "common/Utf.h"
#include "platform/win32/Win32Platform.h"
#include "services/messages/GuardMessages.h"
#include "services/messages/MessageKeys.h"
#include "ui/forms/FrmMenuPopUp.h"
#include "ui/forms/FrmSplash.h"
#include "services/settings/SettingKeys.h"
#include "ui/win32/FrmAboutWindow.h"
#include "ui/win32/FrmDeleteWindow.h"
#include "ui/win32/FrmDownloadWindow.h"
#include "ui/win32/FrmHomePageChangedAlertWindow.h"
#include "ui/win32/FrmLanguageWindow.h"
#include "ui/win32/FrmMainWindow.h"
#include "ui/win32/FrmMenuPopUpWindow.h"
#include "ui/win32/FrmReportWindow.h"
#include "ui/win32/FrmRestoreWindow.h"
#include "ui/win32/FrmSignatureUpdatedWindow.h"
#include "ui/win32/FrmSpywareFoundAlertWindow.h"
#include "ui/win32/SplashWindow.h"
#include "ui/win32/Win32Dialogs.h"
#include "ui/win32/Win32EventPump.h"
#include "platform/win32/WideText.h"

namespace bastion::uitest {
namespace {

namespace keys = services::settings;

// Where a text is shown ("window/control/item") and what it says.
using ShownTexts = std::map<std::wstring, std::wstring>;

std::wstring Id(HWND window) { return std::to_wstring(reinterpret_cast<std::uintptr_t>(window)); }

void AddMenuTexts(HMENU menu, const std::wstring& where, ShownTexts& texts) {
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        texts[where + L"/menu" + std::to_wstring(i)] = text;
        AddMenuTexts(GetSubMenu(menu, i), where + L"/menu" + std::to_wstring(i), texts);
    }
}

// Whether the control shows once its window does: it and every parent below
// the window are visible.
bool ShownWith(HWND control, HWND window) {
    for (HWND at = control; at && at != window; at = GetParent(at)) {
        if (!(GetWindowLongW(at, GWL_STYLE) & WS_VISIBLE)) return false;
    }
    return true;
}

// The texts a user sees in the window when it shows: its caption and menus,
// and every visible control's text, tabs, list headers and list items. Edit
// boxes hold what the user or a file wrote, not the program's words.
void AddShownTexts(HWND window, ShownTexts& texts) {
    texts[Id(window) + L"/caption"] = WindowText(window);
    AddMenuTexts(GetMenu(window), Id(window), texts);
    std::vector<HWND> controls;
    EnumChildWindows(
        window,
        [](HWND control, LPARAM found) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(control);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    for (HWND control : controls) {
        if (!ShownWith(control, window)) continue;
        const std::wstring where = Id(control);
        const std::wstring kind = ClassName(control);
        if (_wcsicmp(kind.c_str(), L"Button") == 0 || _wcsicmp(kind.c_str(), L"Static") == 0) {
            texts[where] = WindowText(control);
        } else if (kind == WC_TABCONTROLW) {
            for (int i = 0; i < TabCtrl_GetItemCount(control); ++i) {
                wchar_t text[128] = {};
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = text;
                item.cchTextMax = 128;
                TabCtrl_GetItem(control, i, &item);
                texts[where + L"/tab" + std::to_wstring(i)] = text;
            }
        } else if (kind == WC_LISTVIEWW) {
            const std::vector<std::wstring> columns = ListViewColumns(control);
            for (std::size_t i = 0; i < columns.size(); ++i)
                texts[where + L"/column" + std::to_wstring(i)] = columns[i];
        } else if (_wcsicmp(kind.c_str(), L"ComboBox") == 0) {
            for (int i = 0; i < static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0)); ++i) {
                wchar_t text[256] = {};
                SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                texts[where + L"/item" + std::to_wstring(i)] = text;
            }
        }
    }
}

// What may read the same in English and German: names (the product, its
// maker, its site, the languages) and the German texts that read as the
// English ones do ("OK", "Version").
class SameInBoth {
public:
    void Allow(const std::string& text) {
        if (text.empty()) return;
        names_.push_back(win32::Widen(text));
        // Longest first: "Bastion" taken out of "Bastion Software" would
        // leave "Software" behind.
        std::stable_sort(names_.begin(), names_.end(),
                         [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
    }

    // A word of four letters or more is left after the names are taken
    // out: English the switch missed.
    bool English(std::wstring text) const {
        for (const std::wstring& name : names_) {
            for (std::size_t at = text.find(name); at != std::wstring::npos; at = text.find(name)) {
                text.erase(at, name.size());
            }
        }
        int run = 0;
        for (wchar_t c : text) {
            run = (c < 128 && std::iswalpha(c)) ? run + 1 : 0;
            if (run >= 4) return true;
        }
        return false;
    }

private:
    std::vector<std::wstring> names_;
};

class GermanPass : public DataFolderFixture {
protected:
    GermanPass() : DataFolderFixture("german") {
        settings.Write(keys::kLanguage, "English");
        // The translation file beside this program, as beside Bastion.exe.
        const std::wstring shipped = WinePath(BASTION_EXE_PATH);
        CopyFileW((shipped.substr(0, shipped.rfind(L'\\')) + L"\\Localization.txt").c_str(), BesideTests().c_str(),
                  FALSE);
    }
    ~GermanPass() override {
        settings.Write(keys::kLanguage, "English");
        DeleteFileW(BesideTests().c_str());
    }
    static std::wstring BesideTests() {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring folder(path);
        return folder.substr(0, folder.rfind(L'\\')) + L"\\Localization.txt";
    }
};

TEST_F(GermanPass, NoWindowTheProgramCanShowKeepsAnEnglishText) {
    win32::Win32Platform machine;
    win32::Win32Dialogs dialogs;
    win32::Win32EventPump pump;
    services::Identity identity;
    identity.productName = build::kProductName;
    identity.companyName = build::kCompanyName;
    identity.website = build::kWebsite;
    App app(machine.Get(), dialogs, pump, identity);
    ui::FrmMain& form = app.form;
    MainWindowHandlers handlers(app, {});
    LanguageWindow language(app);
    language.retranslateOpenWindows = [&app] { win32::RetranslateOpenWindows(app.languages); };

    win32::FrmMainWindow main(form, build::kProductName);
    main.SetTranslator(&app.languages);
    ASSERT_TRUE(main.Create());
    ui::FrmSplash splash;
    win32::SplashWindow splashWindow(splash);
    win32::FrmLanguageWindow languageWindow(language.form);
    win32::FrmAboutWindow aboutWindow(handlers.About());
    win32::FrmReportWindow reportWindow(handlers.ReportViewer());
    win32::FrmRestoreWindow restoreWindow(handlers.RestoreWindow());
    win32::FrmDeleteWindow deleteWindow(app.removal.deleteFailed);
    win32::FrmDownloadWindow downloadWindow(app.updates.download);
    win32::FrmSignatureUpdatedWindow popupWindow(app.updates.popup, main);
    win32::FrmSpywareFoundAlertWindow spywareWindow(app.alerts.spywareFound, main);
    win32::FrmHomePageChangedAlertWindow homePageWindow(app.alerts.homePageChanged);
    ui::FrmMenuPopUp trayMenu;
    win32::FrmMenuPopUpWindow trayMenuWindow(trayMenu, main);
    ASSERT_TRUE(splashWindow.Create() && languageWindow.Create(main.Hwnd()) && aboutWindow.Create(main.Hwnd()) &&
                reportWindow.Create(main.Hwnd()) && restoreWindow.Create(main.Hwnd()) &&
                deleteWindow.Create(main.Hwnd()) && downloadWindow.Create(main.Hwnd()) && popupWindow.Create() &&
                spywareWindow.Create() && homePageWindow.Create() && trayMenuWindow.Create());

    // The windows filled as the program fills them when it shows them.
    auto fill = [&] {
        splash.Form_Load(app.identity);
        LoadOptionPage(app);
        ShowComposedTexts(app);
        form.frmStatus.SetCaption(services::ReplaceCaptionPlaceholders(form.frmStatus.Caption(), app.identity));
        language.Form_Load();
        frmAbout_Load(handlers.About(), app.identity, handlers.Website());
        app.updates.download.Form_Load(app.messages);
        app.updates.popup.Show(app.messages.getMessages(services::msg::kUpdatedDefs));
        app.alerts.spywareFound.Fill("SPY1.EXE", app.messages.getMessages(services::msg::kNoCompany) + " SPY1.EXE",
                                    app.messages.getMessages(services::msg::kAlertNeedsAdministrator));
        app.alerts.homePageChanged.Fill(app.messages, app.identity.productName, "http://1.2.3.4/", "http://5.6.7.8/");
        trayMenu.Form_Load(app.identity.productName, false);
    };
    const std::vector<win32::FormWindow*> others{&splashWindow,  &languageWindow, &aboutWindow,   &reportWindow,
                                                 &restoreWindow, &deleteWindow,   &downloadWindow, &popupWindow,
                                                 &spywareWindow, &homePageWindow, &trayMenuWindow};
    // Each window read as it would show, never shown: Wine takes two seconds
    // to hide or destroy a shown top-level window on a display without a
    // window manager. The main window is read page by page and tab by tab.
    auto read = [&] {
        ShownTexts texts;
        for (ui::Frame* page : form.Pages()) {
            for (ui::Frame* other : form.Pages()) other->SetVisible(other == page);
            for (std::size_t tab = 0; tab < (page == &form.frmOptions ? form.frmView.size() : 1); ++tab) {
                for (std::size_t i = 0; i < form.frmView.size(); ++i) form.frmView[i].SetVisible(i == tab);
                main.SyncAll();
                PumpMessagesFor(30);
                AddShownTexts(main.Hwnd(), texts);
            }
        }
        for (win32::FormWindow* window : others) {
            window->SyncAll();
            PumpMessagesFor(30);
            AddShownTexts(window->Hwnd(), texts);
        }
        return texts;
    };
    std::map<std::string, std::string> englishMessages;
    for (std::size_t slot = 0; slot < app.messages.UsedCount(); ++slot) {
        englishMessages[app.messages.KeyAt(slot)] = app.messages.getMessages(app.messages.KeyAt(slot));
    }

    fill();
    const ShownTexts english = read();
    language.Form_Load();
    language.form.Combo1.SetText("Deutsch");
    ASSERT_EQ(settings.Read(keys::kLanguage), "Deutsch");
    fill();
    const ShownTexts german = read();

    SameInBoth same;
    for (const std::string& name : app.languages.LanguageNames()) same.Allow(name);
    for (const std::string& name : {app.identity.productName, app.identity.companyName, app.identity.website}) {
        same.Allow(name);
    }
    const std::string file = files.ReadFile(win32::Narrow(BesideTests())).value_or("");
    const std::size_t block = file.find("<LANGUAGE_NAME>Deutsch</LANGUAGE_NAME>");
    ASSERT_NE(block, std::string::npos);
    const std::size_t blockEnd = file.find("</TRANSLATION_ITEMS>", block);
    for (std::size_t open = file.find("\t\t<", block); open < blockEnd; open = file.find("\t\t<", open + 1)) {
        const std::size_t start = file.find('>', open) + 1;
        const std::size_t end = file.find("</", start);
        same.Allow(services::ReplaceCaptionPlaceholders(file.substr(start, end - start), app.identity));
    }

    for (const auto& [where, text] : german) {
        const auto before = english.find(where);
        if (before == english.end() || before->second != text) continue;
        EXPECT_FALSE(same.English(text)) << "left in English: "
                                         << Utf16ToUtf8(std::u16string(text.begin(), text.end()));
    }
    EXPECT_GT(german.size(), 200u) << "every window was read";
    for (const auto& [key, text] : englishMessages) {
        if (app.messages.getMessages(key) == text) {
            EXPECT_FALSE(same.English(win32::Widen(text))) << key << " left in English: " << text;
        }
    }
}

}  // namespace
}  // namespace bastion::uitest
