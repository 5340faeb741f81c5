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

#include <map>

#include "common/Text.h"
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
    output = RunScanner(L"quarantine restore --all", exitCode);
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

}  // namespace
}  // namespace bastion::uitest
