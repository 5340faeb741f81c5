// The translation file as the program reads it, and clsLanguages applying
// it to windows and messages.
#include <gtest/gtest.h>

#include "common/Text.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/MessageKeys.h"
#include "support/FakeFileSystem.h"
#include "support/TestIdentity.h"
#include "ui/forms/FrmMain.h"
#include "ui/translation/ClsLanguages.h"

namespace bastion::ui {
namespace {

constexpr const char* kFolder = "C:\\Program Files\\Testwall";
constexpr const char* kFile = "C:\\Program Files\\Testwall\\Localization.txt";

// A file with an English and a German block, lines joined by eol.
std::string TwoLanguages(const std::string& eol) {
    const std::vector<std::string> lines = {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                                            "<XML_DIZ_INFO>",
                                            "<LANGUAGE_GROUP xml:lang=\"en\">",
                                            "\t<LANGUAGE_NAME>English</LANGUAGE_NAME>",
                                            "\t<TRANSLATION_ITEMS>",
                                            "\t\t<FRMMAIN_CMDSTATUS>Home</FRMMAIN_CMDSTATUS>",
                                            "\t\t<FRMMAIN_CMDSCAN>Scan</FRMMAIN_CMDSCAN>",
                                            "\t</TRANSLATION_ITEMS>",
                                            "</LANGUAGE_GROUP>",
                                            "<language_group xml:lang=\"de\">",
                                            "  <language_name>Deutsch</language_name>",
                                            "  <translation_items>",
                                            "\t\t<FRMMAIN_CMDSTATUS>Übersicht</FRMMAIN_CMDSTATUS>",
                                            "  <frmmain_optscan2>datei prüfen</FRMMAIN_OPTSCAN2>",
                                            "<FRMMAIN_TABSTRIP1_TABS3>Zeitplan</FRMMAIN_TABSTRIP1_TABS3>",
                                            "<FRMMAIN_LVWPICREMOVELISTOFSPYWAREFOUNDANDTOBEREMOVED_COL2>Ort</"
                                            "FRMMAIN_LVWPICREMOVELISTOFSPYWAREFOUNDANDTOBEREMOVED_COL2>",
                                            "<FRMMAIN_MNUFILE0>&Datei</FRMMAIN_MNUFILE0>",
                                            "<FRMMAIN_CMDWEBSITE>gestohlen</FRMMAIN_CMDWEBSITE>",
                                            "<FRMMAIN_LBLDEFCOUNT>0</FRMMAIN_LBLDEFCOUNT>",
                                            "<FRMMAIN_FRMSTATUS>[ProgramName]-Status auf [Website]</FRMMAIN_FRMSTATUS>",
                                            "<FRMMAIN_CMDSELECTALL>A > B</FRMMAIN_CMDSELECTALL>",
                                            "<MSG_SURE>Sind Sie sicher, [ProgramName]? [Website]</MSG_SURE>",
                                            "  </translation_items>",
                                            "</language_group>",
                                            "</XML_DIZ_INFO>"};
    return Join(lines, eol) + eol;
}

struct TranslationTest : ::testing::Test {
    TranslationTest() {
        FillDefaultMessages(messages);
        files.AddFolder(kFolder);
    }

    testing::FakeFileSystem files;
    services::MessageCatalogue messages{testing::TestIdentity()};
    clsLanguages languages{files, kFolder, testing::TestIdentity(), messages};
    FrmMain form;
};

TEST_F(TranslationTest, EveryLineEndAndAByteOrderMarkReadAlike) {
    struct Case {
        const char* name;
        std::string content;
    };
    const Case cases[] = {{"CR LF", TwoLanguages("\r\n")},
                          {"LF", TwoLanguages("\n")},
                          {"CR", TwoLanguages("\r")},
                          {"byte-order mark", "\xEF\xBB\xBF" + TwoLanguages("\r\n")}};
    for (const Case& each : cases) {
        files.AddFile(kFile, each.content);
        FrmMain fresh;
        languages.ChangeLanguage(fresh, "deutsch");
        EXPECT_EQ(languages.LanguageNames(), (std::vector<std::string>{"English", "Deutsch"})) << each.name;
        EXPECT_EQ(fresh.cmdStatus.Caption(), "Übersicht") << each.name;
        EXPECT_EQ(fresh.cmdScan.Caption(), "Scan") << each.name << ": an item the language lacks stays";
    }
}

TEST_F(TranslationTest, KeysOfArraysTabsColumnsAndMenusAndWhatStaysUntouched) {
    files.AddFile(kFile, TwoLanguages("\r\n"));
    form.lblDefCount.SetCaption("12,345");
    form.cmdWebsite.SetCaption("www.testwall.example");
    languages.ChangeLanguage(form, "Deutsch");

    EXPECT_EQ(form.optScan[2].Caption(), "Datei prüfen") << "keys ignore case, the first letter is upper-cased";
    EXPECT_EQ(form.optScan[1].Caption(), "Full System Scan");
    EXPECT_EQ(form.TabStrip1.Tabs()[2], "Zeitplan");
    EXPECT_EQ(form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Columns()[1].text, "Ort");
    EXPECT_EQ(form.mnuFile.Caption(), "&Datei");
    EXPECT_EQ(form.frmStatus.Caption(), "Testwall-Status auf www.testwall.example");
    EXPECT_EQ(form.cmdSelectAll.Caption(), "A > B") << "a text ends at its closing tag, not at a \">\"";
    // Live state keeps what the program put there.
    EXPECT_EQ(form.lblDefCount.Caption(), "12,345");
    EXPECT_EQ(form.cmdWebsite.Caption(), "www.testwall.example");

    EXPECT_EQ(messages.getMessages(services::msg::kSure), "Sind Sie sicher, Testwall? [Website]")
        << "messages name the product but not the website";
    EXPECT_EQ(languages.getCaption("msg_sure"), "Sind Sie sicher, Testwall? www.testwall.example");
}

TEST_F(TranslationTest, CaseFoldingIsNotTheLocalesAndTheFirstLetterIsACharacter) {
    // A dotless i is no I, a dotted capital I no i; é is one character of
    // two bytes.
    const std::string file = "<LANGUAGE_GROUP><LANGUAGE_NAME>Türkçe</LANGUAGE_NAME><TRANSLATION_ITEMS>\r\n"
                             "<FRMMAIN_CMDSTATUS>éxito</FRMMAIN_CMDSTATUS>\r\n"
                             "<FRMMAıN_CMDSCAN>tarama</FRMMAıN_CMDSCAN>\r\n"
                             "<FRMMAİN_CMDSETTINGS>seçenekler</FRMMAİN_CMDSETTINGS>\r\n"
                             "</TRANSLATION_ITEMS></LANGUAGE_GROUP>";
    files.AddFile(kFile, file);
    languages.ChangeLanguage(form, "TÜRKÇE");
    EXPECT_EQ(form.cmdStatus.Caption(), "Éxito");
    EXPECT_EQ(form.cmdScan.Caption(), "Scan");
    EXPECT_EQ(form.cmdSettings.Caption(), "Options");
    EXPECT_EQ(languages.getCaption("frmmain_cmdstatus"), "Éxito");
    EXPECT_EQ(languages.getCaption("FRMMA\u0131N_CMDSTATUS"), "");
    EXPECT_EQ(languages.getCaption("frmma\u0130n_cmdstatus"), "");
}

TEST_F(TranslationTest, BrokenTagsLeaveTextsAsTheyWere) {
    struct Case {
        const char* name;
        std::string file;
        const char* status;  // cmdStatus afterwards
        const char* scan;    // cmdScan afterwards
    };
    const std::string open = "<LANGUAGE_GROUP><LANGUAGE_NAME>X</LANGUAGE_NAME><TRANSLATION_ITEMS>\r\n";
    const std::string close = "</TRANSLATION_ITEMS></LANGUAGE_GROUP>";
    const Case cases[] = {
        {"an item without its closing tag",
         open + "<FRMMAIN_CMDSTATUS>Eins\r\n<FRMMAIN_CMDSCAN>Zwei</FRMMAIN_CMDSCAN>\r\n" + close, "Home", "Zwei"},
        {"a later line of a broken key does not count",
         open + "<FRMMAIN_CMDSTATUS>Eins\r\n<FRMMAIN_CMDSTATUS>Zwei</FRMMAIN_CMDSTATUS>\r\n" + close, "Home", "Scan"},
        {"the closing tag of another key", open + "<FRMMAIN_CMDSTATUS>Eins</FRMMAIN_CMDSCAN>\r\n" + close, "Home",
         "Scan"},
        {"a text over two lines", open + "<FRMMAIN_CMDSTATUS>Eins\r\nZwei</FRMMAIN_CMDSTATUS>\r\n" + close,
         "Eins\r\nZwei", "Scan"},
        {"no closing item list", open + "<FRMMAIN_CMDSTATUS>Eins</FRMMAIN_CMDSTATUS>\r\n</LANGUAGE_GROUP>", "Home",
         "Scan"},
        {"no closing block", open + "<FRMMAIN_CMDSTATUS>Eins</FRMMAIN_CMDSTATUS>\r\n</TRANSLATION_ITEMS>", "Home",
         "Scan"},
        {"closing tags before opening ones", close + "<FRMMAIN_CMDSTATUS>Eins</FRMMAIN_CMDSTATUS>" + open, "Home",
         "Scan"},
        {"a tag cut off at the end", open + "<FRMMAIN_CMDSTATUS>Eins</FRMMAIN_CMD", "Home", "Scan"},
    };
    for (const Case& each : cases) {
        files.AddFile(kFile, each.file);
        FrmMain fresh;
        clsLanguages reader(files, kFolder, testing::TestIdentity(), messages);
        reader.ChangeLanguage(fresh, "X");
        EXPECT_EQ(fresh.cmdStatus.Caption(), each.status) << each.name;
        EXPECT_EQ(fresh.cmdScan.Caption(), each.scan) << each.name;
    }
}

TEST_F(TranslationTest, ASecondLanguageKeepsTheFirstsTextsWhereItHasNoneAndAOneLineLanguageFallsBackToEnglish) {
    const std::string file =
        "<LANGUAGE_GROUP><LANGUAGE_NAME>English</LANGUAGE_NAME><TRANSLATION_ITEMS>\r\n"
        "<FRMMAIN_CMDSTATUS>Home page</FRMMAIN_CMDSTATUS>\r\n<FRMMAIN_CMDSCAN>Scan</FRMMAIN_CMDSCAN>\r\n"
        "</TRANSLATION_ITEMS></LANGUAGE_GROUP>"
        "<LANGUAGE_GROUP><LANGUAGE_NAME>Español</LANGUAGE_NAME><TRANSLATION_ITEMS>\r\n"
        "<FRMMAIN_CMDSTATUS>Inicio</FRMMAIN_CMDSTATUS>\r\n<FRMMAIN_CMDSCAN>Analizar</FRMMAIN_CMDSCAN>\r\n"
        "</TRANSLATION_ITEMS></LANGUAGE_GROUP>"
        "<LANGUAGE_GROUP><LANGUAGE_NAME>Français</LANGUAGE_NAME><TRANSLATION_ITEMS>\r\n"
        "<FRMMAIN_CMDSTATUS>Accueil</FRMMAIN_CMDSTATUS>\r\n"
        "</TRANSLATION_ITEMS></LANGUAGE_GROUP>"
        "<LANGUAGE_GROUP><LANGUAGE_NAME>Tiny</LANGUAGE_NAME><TRANSLATION_ITEMS>"
        "<FRMMAIN_CMDSCAN>Tiny</FRMMAIN_CMDSCAN></TRANSLATION_ITEMS></LANGUAGE_GROUP>";
    files.AddFile(kFile, file);
    EXPECT_EQ(languages.LanguageNames(), (std::vector<std::string>{"English", "Español", "Français", "Tiny"}));
    languages.ChangeLanguage(form, "Español");
    languages.ChangeLanguage(form, "Français");
    EXPECT_EQ(form.cmdStatus.Caption(), "Accueil");
    EXPECT_EQ(form.cmdScan.Caption(), "Analizar");
    languages.ChangeLanguage(form, "Klingon");
    EXPECT_EQ(form.cmdStatus.Caption(), "Accueil") << "a language the file lacks changes nothing";
    languages.ChangeLanguage(form, "Tiny");
    EXPECT_EQ(languages.Language(), "English") << "one line is no translation";
    EXPECT_EQ(form.cmdStatus.Caption(), "Home page");
}

TEST_F(TranslationTest, FileNamesArePartsOfPathsAndExistingFilesOfAnyAttributes) {
    EXPECT_EQ(LangTrimPath("C:\\a\\b\\Localization.txt"), "Localization.txt");
    EXPECT_EQ(LangTrimPath("Localization.txt"), "Localization.txt");
    EXPECT_EQ(LangTrimPath(""), "");
    EXPECT_EQ(LangTrimPath("C:\\a\\"), "");
    files.AddFile(kFile, "", platform::kAttrHidden | platform::kAttrSystem | platform::kAttrReadOnly);
    EXPECT_TRUE(languages.LangFileExists("C:\\PROGRAM FILES\\TESTWALL\\LOCALIZATION.TXT"));
    EXPECT_FALSE(languages.LangFileExists(kFolder));
    EXPECT_FALSE(languages.LangFileExists("C:\\Program Files\\Testwall\\Other.txt"));
}

}  // namespace
}  // namespace bastion::ui
