// The file shield of Bastion.exe running in the notification area, against
// the user's real Downloads folder: the antivirus test file saved there
// under another name goes to the quarantine on its own, or raises the alert,
// whose "ALLOW" leaves it (and the next version of it) alone; a file written
// in pieces over two seconds is asked about once, when it is complete; and
// one threat among 2,000 files unpacked at once is found.
#include <gtest/gtest.h>

#include "DataFolderFixture.h"
#include "common/PathParts.h"
#include "platform/win32/Handles.h"

namespace bastion::uitest {
namespace {


class FileShieldTest : public DataFolderFixture {
protected:
    FileShieldTest() : DataFolderFixture("file_shield") {
        WriteDefinitions("ContentDefinition.dat", {std::string(kEicarKey) + "=EICAR-Test-File|Testfile"});
        // Alone in the tray: no other shield asks anything meanwhile.
        settings.WriteSetting("OptionAndSettings", "optMemorySheildOn", "False");
        settings.WriteSetting("Settings", "Minimized", "Yes");
        settings.WriteSetting("OptionAndSettings", "FileShieldFolders", "*");
        downloads = shell.DownloadsFolderPath().value_or("");
        tag = std::to_string(GetCurrentProcessId());
    }
    ~FileShieldTest() override {
        settings.WriteSetting("OptionAndSettings", "optMemorySheildOn", "True");
        settings.WriteSetting("Settings", "Minimized", "No");
        settings.WriteSetting("OptionAndSettings", "optFileShieldQuarantine", "False");
        for (const std::string& path : planted) files.DeleteFile(path);
        files.DeleteFolderTree(downloads + "\\burst " + tag);
        files.DeleteFolderTree(dataFolder + "\\quarantine");
        files.DeleteFile(dataFolder + "\\ENoSignature.dat");
    }

    void Quarantining(bool on) {
        settings.WriteSetting("OptionAndSettings", "optFileShieldQuarantine", on ? "True" : "False");
    }
    // Bastion.exe in the tray, its start-up complete (the menu announces
    // the tray once it is).
    void Start() {
        ASSERT_FALSE(downloads.empty()) << "Windows names no Downloads folder";
        files.CreateFolder(downloads);
        program = std::make_unique<StartedProgram>(WinePath(BASTION_EXE_PATH), L"");
        ASSERT_TRUE(program->Started());
        HWND menu = program->WaitForWindowOfClass(L"BastionTrayMenu", 30000);
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(WaitFor([menu] { return IsWindowVisible(menu) != FALSE; }, 20000));
    }
    void Stop() {
        if (HWND main = program->WaitForWindow(1000)) PostMessageW(main, WM_CLOSE, 0, 0);
        program->WaitForExit(10000);
    }
    std::string InDownloads(const std::string& name) {
        planted.push_back(downloads + "\\" + name + " " + tag);
        return planted.back();
    }
    bool Exists(const std::string& path) { return files.Lookup(path).has_value(); }
    std::string QuarantineLog() {
        return files.ReadFile(dataFolder + "\\quarantine\\QuarantineLog.txt").value_or("");
    }
    // The file shield's alert while it shows; nullptr when none does.
    HWND Alert() {
        HWND alert = program->WaitForWindowOfClass(L"BastionFileThreatAlert", 0);
        return alert && IsWindowVisible(alert) ? alert : nullptr;
    }
    HWND WaitForAlert(DWORD milliseconds) {
        HWND alert = nullptr;
        WaitFor([&] { return (alert = Alert()) != nullptr; }, milliseconds);
        return alert;
    }
    // Pressed once the alert takes input (half a second after it shows).
    void Press(HWND alert, const wchar_t* caption) {
        HWND button = Button(alert, caption);
        ASSERT_NE(button, nullptr) << "no button " << win32::Narrow(caption);
        ASSERT_TRUE(WaitFor([button] { return IsWindowEnabled(button) != FALSE; }, 5000));
        PostMessageW(button, BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitFor([this] { return Alert() == nullptr; }, 5000));
    }

    std::string downloads;
    std::string tag;
    std::vector<std::string> planted;
    std::unique_ptr<StartedProgram> program;
};

TEST_F(FileShieldTest, TheTestFileSavedIntoDownloadsIsQuarantinedOrAskedAboutAndAllowedStaysAlone) {
    Quarantining(true);
    Start();
    const std::string quarantined = InDownloads("invoice.pdf");
    ASSERT_TRUE(files.WriteFile(quarantined, std::string(kEicar)));
    EXPECT_TRUE(WaitFor([&] { return !Exists(quarantined); }, 10000)) << "not quarantined within a few seconds";
    EXPECT_NE(QuarantineLog().find(quarantined), std::string::npos) << QuarantineLog();

    // Asked now: the setting is read at each find.
    Quarantining(false);
    const std::string asked = InDownloads("setup.bin");
    ASSERT_TRUE(files.WriteFile(asked, std::string(kEicar)));
    HWND alert = WaitForAlert(10000);
    ASSERT_NE(alert, nullptr) << "no alert";
    EXPECT_NE(FindDescendant(alert, L"Static", win32::Widen(FileNameOfPath(asked))), nullptr);
    EXPECT_TRUE(Exists(asked)) << "nothing happens before the answer";
    Press(alert, L"ALLOW");
    EXPECT_TRUE(WaitFor([&] { return files.ReadFile(dataFolder + "\\ENoSignature.dat").value_or("").find(asked) !=
                                     std::string::npos; },
                        5000));

    // Excluded: written again, it is left alone.
    ASSERT_TRUE(files.WriteFile(asked, std::string(kEicar)));
    EXPECT_EQ(WaitForAlert(4000), nullptr);
    EXPECT_TRUE(Exists(asked));
    Stop();
}

TEST_F(FileShieldTest, AFileWrittenInPiecesOverTwoSecondsIsCheckedOnceWhenComplete) {
    Start();
    const std::string slow = InDownloads("slow download.exe");
    {
        win32::UniqueHandle writer(CreateFileW(win32::Widen(slow).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(writer);
        const std::size_t piece = (kEicar.size() + 3) / 4;
        for (std::size_t at = 0; at < kEicar.size(); at += piece) {
            const std::string_view bytes = kEicar.substr(at, piece);
            DWORD written = 0;
            ASSERT_TRUE(::WriteFile(writer.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
            FlushFileBuffers(writer.Get());
            Sleep(650);
            EXPECT_EQ(Alert(), nullptr) << "asked about before it was complete";
        }
    }
    HWND alert = WaitForAlert(10000);
    ASSERT_NE(alert, nullptr) << "not asked about once complete";
    Press(alert, L"QUARANTINE");
    EXPECT_TRUE(WaitFor([&] { return !Exists(slow); }, 5000));
    EXPECT_EQ(WaitForAlert(3000), nullptr) << "asked about twice";
    Stop();
}

TEST_F(FileShieldTest, OneThreatAmongTwoThousandFilesUnpackedIsFound) {
    Quarantining(true);
    Start();
    const std::string folder = downloads + "\\burst " + tag;
    ASSERT_TRUE(files.CreateFolder(folder));
    std::string threat;
    for (int i = 0; i < 2000; ++i) {
        const std::string path = folder + "\\part" + std::to_string(i) + ".dat";
        if (i == 1234) threat = path;
        ASSERT_TRUE(files.WriteFile(path, i == 1234 ? std::string(kEicar) : "harmless " + std::to_string(i)));
    }
    EXPECT_TRUE(WaitFor([&] { return !Exists(threat); }, 60000)) << "the threat was not found";
    EXPECT_TRUE(Exists(folder + "\\part1233.dat"));
    EXPECT_TRUE(Exists(folder + "\\part1999.dat"));
    Stop();
}

}  // namespace
}  // namespace bastion::uitest
