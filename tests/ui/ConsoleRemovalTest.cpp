// bastion-scan --remove and its quarantine commands under Wine, against the
// real files, registry and processes: what a scan finds is removed without
// a question (a program running from a found path is stopped, one of the
// same name elsewhere runs on; a COM server goes without its code ever
// running), a tracking cookie goes too, kept under names of its own across
// two removals, logged, and put back whole by "quarantine restore".
#include <gtest/gtest.h>

#include "DataFolderFixture.h"
// After <windows.h>, which it builds on.
#include <wininet.h>

#include <algorithm>
#include <map>

#include "common/Text.h"
#include "removal/quarantine/QuarantineIndex.h"
#include "platform/win32/Handles.h"
#include "support/RegistryTree.h"

namespace bastion::uitest {
namespace {

using platform::Hive;
using platform::RegView;

constexpr const char* kCookieUrl = "http://blocked-removal.example/";

class ConsoleRemovalTest : public DataFolderFixture {
protected:
    ConsoleRemovalTest() : DataFolderFixture("removal") {
        quarantineFolder = dataFolder + "\\quarantine";
        files.DeleteFolderTree(quarantineFolder);
    }
    ~ConsoleRemovalTest() override {
        for (HANDLE process : running) {
            TerminateProcess(process, 0);
            CloseHandle(process);
        }
        registry.DeleteTree(Hive::CurrentUser, key);
        registry.DeleteTree(Hive::LocalMachine, key, RegView::Bits32);
        registry.DeleteTree(Hive::CurrentUser, classKey);
        InternetSetCookieA(kCookieUrl, nullptr, "track=; expires=Thu, 01-Jan-1970 00:00:01 GMT");
        files.DeleteFolderTree(quarantineFolder);
    }

    void Plant(const std::string& path, const std::string& content, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        files.CreateFolder(path.substr(0, path.rfind('\\')));
        ASSERT_TRUE(files.WriteFile(path, content));
        files.SetAttributes(path, attributes);
    }
    void Start(const std::string& exe) {
        std::wstring commandLine = L"\"" + win32::Widen(exe) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &info));
        CloseHandle(info.hThread);
        running.push_back(info.hProcess);
    }
    bool Ended(HANDLE process) { return WaitForSingleObject(process, 5000) == WAIT_OBJECT_0; }

    std::string quarantineFolder;
    std::vector<HANDLE> running;
    std::string key = "Software\\BastionRemoval_" + std::to_string(GetCurrentProcessId());
    std::string classKey = "Software\\Classes\\CLSID\\{B457100E-0000-4000-8000-" +
                           std::string(12 - std::to_string(GetCurrentProcessId()).size(), '0') +
                           std::to_string(GetCurrentProcessId()) + "}";
};

TEST_F(ConsoleRemovalTest, RemovesWhatItFoundKeepsItAllAndPutsItBack) {
    const std::string a = scratch + "\\A\\spy.exe", b = scratch + "\\B\\spy.exe";
    const std::string agent = scratch + "\\Run\\agent.exe", other = scratch + "\\Other\\agent.exe";
    const std::string dll = scratch + "\\Com\\spyserver.dll", folder = scratch + "\\SpyCo";
    Plant(a, "one", FILE_ATTRIBUTE_READONLY);
    Plant(b, "two", FILE_ATTRIBUTE_HIDDEN);
    Plant(folder + "\\data\\inner.txt", "inner");
    const std::string child = *files.ReadFile(win32::Narrow(WinePath(BASTION_SLEEPY_CHILD_PATH)));
    Plant(agent, child);
    Plant(other, child);
    Start(agent);
    Start(other);
    const std::string server = *files.ReadFile(win32::Narrow(WinePath(BASTION_COM_MARKER_PATH)));
    Plant(dll, server);
    ASSERT_EQ(registry.CreateKey(Hive::CurrentUser, classKey + "\\InprocServer32"), platform::kRegOk);
    ASSERT_EQ(registry.SetValue(Hive::CurrentUser, classKey + "\\InprocServer32", "",
                                platform::RegValue::String("\"" + dll + "\"")),
              platform::kRegOk);
    ASSERT_EQ(registry.CreateKey(Hive::CurrentUser, key), platform::kRegOk);
    registry.SetValue(Hive::CurrentUser, key, "Run", platform::RegValue::String("C:\\spy.exe \"x\""));
    ASSERT_EQ(registry.CreateKey(Hive::LocalMachine, key + "\\Sub", RegView::Bits32), platform::kRegOk);
    registry.SetValue(Hive::LocalMachine, key, "", platform::RegValue::Dword(5), RegView::Bits32);
    registry.SetValue(Hive::LocalMachine, key + "\\Sub", "multi",
                      platform::RegValue::Raw(platform::RegType::MultiString, testing::WideBytes({u"a\0b\0\0", 5})),
                      RegView::Bits32);
    const testing::RegistryTree userBefore = testing::ReadRegistryTree(registry, Hive::CurrentUser, key, RegView::Bits64);
    const testing::RegistryTree machineBefore =
        testing::ReadRegistryTree(registry, Hive::LocalMachine, key, RegView::Bits32);
    // A cookie that persists as a file of the cookie folder.
    ASSERT_TRUE(InternetSetCookieA(kCookieUrl, nullptr, "track=1; expires=Fri, 31-Dec-2037 23:59:59 GMT"));
    const std::string cookies = shell.SpecialFolderPath(platform::csidl::kCookies).value_or("");
    ASSERT_FALSE(cookies.empty());
    std::map<std::string, std::string> cookiesBefore;
    const std::optional<platform::DirListing> listing = files.ListDirectory(cookies);
    for (const platform::DirEntry& entry : listing ? listing->entries : std::vector<platform::DirEntry>{}) {
        if (std::optional<std::string> content = files.ReadFile(cookies + "\\" + entry.name)) {
            cookiesBefore[cookies + "\\" + entry.name] = *content;
        }
    }
    WriteDefinitions("BlockedCookies.dat", {"blocked-removal.example"});
    WriteDefinitions("FileDefinition.dat", {"spy.exe=Spy|" + scratch + "\\A|Adware", "spy.exe=Spy|" + scratch + "\\B",
                                            "agent.exe=Agent|" + scratch + "\\Run", "spyserver.dll=Com Spy|" + scratch + "\\Com"});
    WriteDefinitions("DirectoryDefinition.dat", {"SpyCo=SpyCo|" + folder + "\\"});
    WriteDefinitions("RegistryDefinition.dat", {"1^" + key + "\\^Run=Reg Spy", "2^" + key + "=Key Spy"});

    DWORD exitCode = 0;
    std::string output = RunScanner(L"smart --no-processes --no-report --remove", exitCode);
    EXPECT_EQ(exitCode, 1u) << output;
    const std::size_t cookieLine = output.find("removed\t" + cookies + "\\");
    ASSERT_NE(cookieLine, std::string::npos) << output;
    const std::string cookie = output.substr(cookieLine + 8, output.find('\n', cookieLine) - cookieLine - 8);
    EXPECT_FALSE(files.Lookup(cookie));
    for (const std::string& line : {"removed\t" + a, "removed\t" + b, "removed\t" + agent, "removed\t" + dll,
                                    "removed\t" + folder, "removed\tHKEY_CURRENT_USER\\" + key + "\\Run",
                                    "removed\tHKEY_LOCAL_MACHINE\\" + key + " (32-bit view)"}) {
        EXPECT_NE(output.find(line + "\n"), std::string::npos) << line << "\n" << output;
    }
    for (const std::string& gone : {a, b, agent, dll, folder}) EXPECT_FALSE(files.Lookup(gone)) << gone;
    EXPECT_FALSE(files.Lookup(dll + ".ran")) << "the COM server's code ran";
    EXPECT_EQ(registry.OpenKey(Hive::CurrentUser, classKey, platform::RegAccess::Read), platform::kRegNotFound);
    EXPECT_EQ(registry.OpenKey(Hive::LocalMachine, key, platform::RegAccess::Read, RegView::Bits32),
              platform::kRegNotFound);
    EXPECT_TRUE(Ended(running[0])) << "the program running from the removed path";
    EXPECT_FALSE(Ended(running[1])) << "a program of the same name elsewhere";
    const std::string log = *files.ReadFile(quarantineFolder + "\\QuarantineLog.txt");
    EXPECT_NE(log.find(" - File: spy.exe\r\n - Location: " + a + "\r\n\r\n\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" - Key: HKEY_CURRENT_USER\\" + key + "\r\nValue: Run\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" - Key: -2147483646\\" + key + "\r\nValue: All Values\r\n"), std::string::npos) << log;

    // The same name again, in a second removal: both copies are kept.
    Plant(a, "three");
    output = RunScanner(L"smart --no-cookies --no-processes --no-report --remove", exitCode);
    EXPECT_EQ(exitCode, 1u) << output;
    output = RunScanner(L"quarantine list", exitCode);
    EXPECT_EQ(exitCode, 0u);
    std::vector<std::string> storedA;
    for (const std::string& line : Split(output, "\n")) {
        if (EndsWith(line, "\tFile\t" + a)) storedA.push_back(line.substr(0, line.find('\t')));
    }
    ASSERT_EQ(storedA.size(), 2u) << output;

    // Restore all: the earlier copy of A comes back first, so the later one
    // finds it there and keeps away until told to replace it.
    output = RunScanner(L"quarantine restore --all --machine-wide", exitCode);
    EXPECT_EQ(exitCode, 2u) << output;
    EXPECT_NE(output.find("kept\t" + a + "\n"), std::string::npos) << output;
    EXPECT_EQ(files.ReadFile(a), "one");
    output = RunScanner(L"quarantine restore " + win32::Widen(storedA[1]) + L" --overwrite", exitCode);
    EXPECT_EQ(exitCode, 0u) << output;
    EXPECT_EQ(files.ReadFile(a), "three");
    EXPECT_EQ(files.ReadFile(b), "two");
    EXPECT_NE(GetFileAttributesW(win32::Widen(b).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(files.ReadFile(folder + "\\data\\inner.txt"), "inner");
    EXPECT_EQ(files.ReadFile(agent), child);
    EXPECT_EQ(files.ReadFile(dll), server);
    EXPECT_EQ(files.ReadFile(cookie), cookiesBefore[cookie]);
    EXPECT_EQ(testing::ReadRegistryTree(registry, Hive::CurrentUser, key, RegView::Bits64), userBefore);
    EXPECT_EQ(testing::ReadRegistryTree(registry, Hive::LocalMachine, key, RegView::Bits32), machineBefore);
    EXPECT_EQ(registry.OpenKey(Hive::CurrentUser, classKey, platform::RegAccess::Read), platform::kRegOk);
    EXPECT_EQ(RunScanner(L"quarantine list", exitCode), "");
}

// A program running as the user rewrote the index: a stored name that
// climbs out of the quarantine (the user's documents moved), a copy meant
// for the system folder, and a registry backup that writes beside the key
// it names. The restore refuses each and touches nothing.
TEST_F(ConsoleRemovalTest, ARestoreRefusesWhatTheQuarantineDidNotWrite) {
    const std::string documents = scratch + "\\Documents", moved = scratch + "\\Moved";
    Plant(documents + "\\letter.txt", "dear");
    const std::string system = shell.SpecialFolderPath(platform::csidl::kSystem).value_or("");
    const std::string planted = system + "\\bastion_planted_" + std::to_string(GetCurrentProcessId()) + ".dll";
    const std::string storedDll = "2_" + planted.substr(planted.rfind('\\') + 1);
    Plant(quarantineFolder + "\\" + storedDll, "MZ planted");
    const std::string toolbar = key + "\\Toolbar", beside = key + "\\Run";
    // A backup in the Registry Editor's form (UTF-8 reads as well).
    ASSERT_TRUE(files.WriteFile(quarantineFolder + "\\3_Toolbar.reg",
                                "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + toolbar +
                                    "]\r\n\r\n[HKEY_CURRENT_USER\\" + beside + "]\r\n\"spy\"=\"C:\\\\spy.exe\"\r\n"));
    const std::string climbing = "..\\" + scratch.substr(dataFolder.size() + 1) + "\\Documents";
    std::string index;
    for (const QuarantineItem& item : {QuarantineItem{1, "1/1/2024", QuarantineKind::Folder, climbing, moved},
                                       QuarantineItem{2, "1/1/2024", QuarantineKind::File, storedDll, planted},
                                       QuarantineItem{3, "1/1/2024", QuarantineKind::RegistryKey, "3_Toolbar.reg",
                                                      "HKEY_CURRENT_USER\\" + toolbar}}) {
        index += FormatIndexRecord(item) + "\r\n";
    }
    ASSERT_TRUE(files.WriteFile(quarantineFolder + "\\QuarantineIndex.txt", index));

    DWORD exitCode = 0;
    const std::string output = RunScanner(L"quarantine restore --all", exitCode);
    EXPECT_EQ(exitCode, 2u) << output;
    for (const std::string& line : {"failed\t" + moved, "failed\t" + planted, "failed\tHKEY_CURRENT_USER\\" + toolbar}) {
        EXPECT_NE(output.find(line + "\n"), std::string::npos) << line << "\n" << output;
    }
    EXPECT_EQ(files.ReadFile(documents + "\\letter.txt"), "dear");
    EXPECT_FALSE(files.Lookup(moved));
    EXPECT_FALSE(files.Lookup(planted));
    EXPECT_EQ(registry.OpenKey(Hive::CurrentUser, toolbar, platform::RegAccess::Read), platform::kRegNotFound);
    EXPECT_EQ(registry.OpenKey(Hive::CurrentUser, beside, platform::RegAccess::Read), platform::kRegNotFound);

    // Asked for by name, a copy for the system folder goes there.
    EXPECT_EQ(RunScanner(L"quarantine restore 2 --machine-wide", exitCode), "restored\t" + planted + "\n");
    EXPECT_EQ(files.ReadFile(planted), "MZ planted");
    files.DeleteFile(planted);
}

// "..", a name Win32 would cut short, a folder's real case, a link, and an
// index that cannot be written, each through a removal.
TEST_F(ConsoleRemovalTest, WhatARemovalReachesIsWhatIsThereAndWhatItReportsIsWhatHappened) {
    const std::string programFiles32 = shell.SpecialFolderPath(platform::csidl::kProgramFilesX86).value_or("");
    ASSERT_FALSE(programFiles32.empty());
    const std::size_t before = files.ListDirectory(programFiles32)->entries.size();
    WriteDefinitions("DirectoryDefinition.dat", {"PF=PF Spy|[progfil]..\\Program Files (x86)\\"});
    DWORD exitCode = 0;
    std::string output = RunScanner(L"smart --no-cookies --no-processes --no-registry --no-report --remove", exitCode);
    EXPECT_EQ(exitCode, 2u) << output;
    EXPECT_NE(output.find("failed\t"), std::string::npos) << output;
    EXPECT_EQ(files.ListDirectory(programFiles32)->entries.size(), before);
    EXPECT_EQ(RunScanner(L"quarantine list", exitCode), "");

    // "evil.exe " and "evil.exe." answer to the definition for evil.exe; they
    // go, and come back, under their own names, as does the folder SpyDir.
    const std::string trail = scratch + "\\Trail";
    for (const std::string name : {"evil.exe ", "evil.exe."}) Plant(trail + "\\" + name, "MZ " + name);
    Plant(trail + "\\SpyDir\\inner.txt", "inner");
    WriteDefinitions("DirectoryDefinition.dat", {"SpyDir=Spy Dir|" + trail + "\\SpyDir\\"});
    WriteDefinitions("FileDefinition.dat", {"evil.exe=Evil|" + trail});
    output = RunScanner(L"folder \"" + win32::Widen(trail) + L"\" --no-report --remove", exitCode);
    EXPECT_EQ(exitCode, 1u) << output;
    for (const std::string& line : {"removed\t" + trail + "\\evil.exe \n", "removed\t" + trail + "\\evil.exe.\n",
                                    "removed\t" + trail + "\\SpyDir\n"}) {
        EXPECT_NE(output.find(line), std::string::npos) << line << output;
    }
    EXPECT_TRUE(files.ListDirectory(trail)->entries.empty());
    output = RunScanner(L"quarantine restore --all", exitCode);
    EXPECT_EQ(exitCode, 0u) << output;
    std::vector<std::string> names;
    const std::optional<platform::DirListing> restored = files.ListDirectory(trail);
    ASSERT_TRUE(restored);
    for (const platform::DirEntry& entry : restored->entries) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"SpyDir", "evil.exe ", "evil.exe."}));
    EXPECT_EQ(files.ReadFile(trail + "\\evil.exe "), "MZ evil.exe ");

    // A folder that is a link is never copied through; Wine cannot read a
    // host link, so this one is not removed at all.
    const std::string link = win32::Narrow(WinePath(BASTION_LINK_FIXTURE_PATH));
    WriteDefinitions("DirectoryDefinition.dat", {"Linked=Linked|" + link + "\\"});
    WriteDefinitions("FileDefinition.dat", {});
    output = RunScanner(L"smart --no-cookies --no-processes --no-registry --no-report --remove", exitCode);
    EXPECT_NE(output.find("failed\t" + link + "\n"), std::string::npos) << output;
    EXPECT_EQ(files.ReadFile(link + "\\kept.txt"), "kept");
    EXPECT_EQ(RunScanner(L"quarantine list", exitCode), "");

    // An index that cannot be written (another program holds it without
    // sharing writes): the files stay, and the removal says so.
    WriteDefinitions("DirectoryDefinition.dat", {});
    WriteDefinitions("FileDefinition.dat", {"evil.exe=Evil|" + trail});
    win32::UniqueHandle held(CreateFileW(win32::Widen(quarantineFolder + "\\QuarantineIndex.txt").c_str(),
                                         GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    output = RunScanner(L"folder \"" + win32::Widen(trail) + L"\" --no-report --remove", exitCode);
    EXPECT_EQ(exitCode, 2u) << output;
    for (const std::string name : {"evil.exe ", "evil.exe."}) {
        EXPECT_NE(output.find("failed\t" + trail + "\\" + name + "\n"), std::string::npos) << output;
        EXPECT_EQ(files.ReadFile(trail + "\\" + name), "MZ " + name);
    }
}

}  // namespace
}  // namespace bastion::uitest
