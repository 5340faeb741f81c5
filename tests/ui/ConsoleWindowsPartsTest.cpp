// What bastion-scan never stops, deletes or overwrites under Wine, however
// the definitions read: a program is known by where it really runs (only
// the system folder is the system folder), the parts of Windows run on,
// the log-on values Windows needs are set back to their defaults rather
// than deleted, the keys and services Windows needs stay, and a restore
// puts back only the record "quarantine list" showed.
#include <gtest/gtest.h>

#include "DataFolderFixture.h"

#include "common/PathParts.h"
#include "common/Text.h"
#include "definitions/content/ContentDefinitions.h"
#include "platform/win32/Win32Crypto.h"
#include "platform/win32/Win32Processes.h"
#include "removal/quarantine/QuarantineIndex.h"

namespace bastion::uitest {
namespace {

using platform::Hive;

const std::string kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::string kServices = "SYSTEM\\CurrentControlSet\\Services\\";

class ConsoleWindowsPartsTest : public DataFolderFixture {
protected:
    ConsoleWindowsPartsTest() : DataFolderFixture("windows") {
        quarantineFolder = dataFolder + "\\quarantine";
        files.DeleteFolderTree(quarantineFolder);
        // No safety list of an earlier run: every item here is for the
        // guards to keep.
        safety = files.ReadFile(DataFilePath(dataFolder, "Safety.dat"));
        files.WriteFile(DataFilePath(dataFolder, "Safety.dat"), "");
    }
    ~ConsoleWindowsPartsTest() override {
        // The log-on values as they were, whatever the test got to.
        for (auto& [name, value] : winlogon) {
            if (value) {
                registry.SetValue(Hive::LocalMachine, kWinlogon, name, *value);
            } else {
                registry.DeleteValue(Hive::LocalMachine, kWinlogon, name);
            }
        }
        for (const std::string& key : keys) registry.DeleteTree(Hive::LocalMachine, key);
        files.DeleteFolderTree(quarantineFolder);
        if (safety) {
            files.WriteFile(DataFilePath(dataFolder, "Safety.dat"), *safety);
        } else {
            files.DeleteFile(DataFilePath(dataFolder, "Safety.dat"));
        }
    }

    void Plant(const std::string& path, const std::string& content) {
        files.CreateFolder(path.substr(0, path.rfind('\\')));
        ASSERT_TRUE(files.WriteFile(path, content));
    }
    // A process running the program at path, by its final path; 0 for none.
    std::uint32_t RunningFrom(const std::string& path) {
        win32::Win32Processes processes;
        const std::string wanted = ToLower(files.FinalPath(path));
        for (std::uint32_t id : processes.EnumerateIds().value_or(std::vector<std::uint32_t>{})) {
            const std::optional<std::string> image = processes.ImagePath(id);
            if (image && ToLower(files.FinalPath(*image)) == wanted) return id;
        }
        return 0;
    }
    std::string Winlogon(const std::string& name) {
        platform::RegValue value;
        return registry.QueryValue(Hive::LocalMachine, kWinlogon, name, value) == platform::kRegOk ? value.text : "";
    }
    static std::string ContentKey(const std::string& bytes) {
        return std::to_string(bytes.size()) + ":" + Sha256Hex(win32::Win32Crypto().Sha256(bytes).value());
    }

    // Sets a log-on value, the one there before kept for the end.
    void SetWinlogon(const std::string& name, const std::string& text) {
        platform::RegValue before;
        winlogon.emplace_back(name, std::nullopt);
        if (registry.QueryValue(Hive::LocalMachine, kWinlogon, name, before) == platform::kRegOk) {
            winlogon.back().second = before;
        }
        ASSERT_EQ(registry.SetValue(Hive::LocalMachine, kWinlogon, name, platform::RegValue::String(text)),
                  platform::kRegOk);
    }
    // A service key of the test's own, taken away at the end.
    void Service(const std::string& key, std::uint32_t start) {
        keys.push_back(key);
        ASSERT_EQ(registry.CreateKey(Hive::LocalMachine, key), platform::kRegOk);
        registry.SetValue(Hive::LocalMachine, key, "Start", platform::RegValue::Dword(start));
    }

    std::string quarantineFolder;
    std::optional<std::string> safety;
    std::vector<std::pair<std::string, std::optional<platform::RegValue>>> winlogon;
    std::vector<std::string> keys;
    const std::string system = shell.SpecialFolderPath(platform::csidl::kSystem).value_or("");
    const std::string pid = std::to_string(GetCurrentProcessId());
};

TEST_F(ConsoleWindowsPartsTest, OnlyTheSystemFolderIsTheSystemFolderAndThePartsOfWindowsRunOn) {
    ASSERT_FALSE(system.empty());
    const std::string child = *files.ReadFile(win32::Narrow(WinePath(BASTION_SLEEPY_CHILD_PATH)));
    const std::string name = "guard_" + pid + ".exe";
    // The real program in the system folder, and a fake of its name in a
    // folder of the user's called system32 that a definition names.
    const std::string real = system + "\\" + name;
    const std::string fake = scratch + "\\Program Files\\X\\system32\\" + name;
    // A known program, by its content only, run from the user's own
    // system32 folder: it is hashed as itself, not as a system file.
    const std::string knownBytes = child + "known";
    const std::string known = scratch + "\\AppData\\Roaming\\Microsoft\\system32\\known_" + pid + ".exe";
    Plant(real, child);
    Plant(fake, child);
    Plant(known, knownBytes);
    const std::string services = system + "\\services.exe";
    const std::uint32_t servicesId = RunningFrom(services);
    ASSERT_NE(servicesId, 0u) << "Wine runs its services.exe";
    WriteDefinitions("ExeDefinition.dat", {name + "=Fake|" + FolderOfPath(fake)});
    WriteDefinitions("ContentDefinition.dat", {ContentKey(knownBytes) + "=Known.Spy|Trojan",
                                               ContentKey(*files.ReadFile(services)) + "=Stray.Definition|Trojan"});
    std::string shown = ToUpper(name);
    DWORD exitCode = 0;
    std::string output;
    {
        StartedProgram realRun(win32::Widen(real), L"");
        StartedProgram fakeRun(win32::Widen(fake), L"");
        StartedProgram knownRun(win32::Widen(known), L"");
        ASSERT_TRUE(realRun.Started() && fakeRun.Started() && knownRun.Started());
        ASSERT_TRUE(WaitFor([&] { return RunningFrom(real) && RunningFrom(fake) && RunningFrom(known); }, 10000));
        output = RunScanner(L"smart --no-cookies --no-registry --no-report", exitCode);
        EXPECT_NE(fakeRun.WaitForExit(5000), STILL_ACTIVE) << output;
        EXPECT_NE(knownRun.WaitForExit(5000), STILL_ACTIVE) << output;
        EXPECT_EQ(realRun.WaitForExit(0), STILL_ACTIVE) << "the program of that name in the system folder runs on";
    }
    files.DeleteFile(real);
    EXPECT_EQ(exitCode, 1u) << output;
    for (const std::string& line : {"Running Application\t" + shown + " was stopped\t",
                                    "Running Application\tKNOWN_" + pid + ".EXE was stopped\t",
                                    std::string("Running Application\tSERVICES.EXE: a part of Windows; not stopped\t")}) {
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
    }
    EXPECT_EQ(RunningFrom(services), servicesId);
}

TEST_F(ConsoleWindowsPartsTest, LogOnValuesAreSetBackAndKeysAndServicesWindowsNeedsStay) {
    SetWinlogon("Shell", "C:\\evil.exe");
    SetWinlogon("Userinit", "C:\\evil.exe,");
    const std::string driver = kServices + "BastionDriver" + pid, service = kServices + "BastionService" + pid;
    Service(driver, 1);
    Service(service, 3);
    const std::vector<std::string> windowsKeys = {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList",
                                                  "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                                                  "Software\\Wow6432Node\\Classes", kServices + "RpcSs", driver};
    std::vector<std::string> lines = {"2^" + kWinlogon + "\\^Shell=Hijack", "2^" + kWinlogon + "\\^Userinit=Hijack",
                                      "2^" + service + "=Spy Service"};
    for (const std::string& key : windowsKeys) {
        ASSERT_EQ(registry.OpenKey(Hive::LocalMachine, key, platform::RegAccess::Read), platform::kRegOk) << key;
        lines.push_back("2^" + key + "=Stray Definition");
    }
    WriteDefinitions("RegistryDefinition.dat", lines);

    DWORD exitCode = 0;
    const std::string output = RunScanner(L"smart --no-cookies --no-processes --no-report --remove", exitCode);
    const std::string machine = "HKEY_LOCAL_MACHINE\\";
    EXPECT_EQ(exitCode, 2u) << output;
    for (const char* value : {"Shell", "Userinit"}) {
        const std::string line = "removed\t" + machine + kWinlogon + "\\" + value + "\tset back to the Windows default\n";
        EXPECT_NE(output.find(line), std::string::npos) << line << output;
    }
    EXPECT_EQ(Winlogon("Shell"), "explorer.exe");
    EXPECT_EQ(Winlogon("Userinit"), system + "\\userinit.exe,");
    for (const std::string& key : windowsKeys) {
        const std::string line = "failed\t" + machine + key + "\ta part of Windows; not removed\n";
        EXPECT_NE(output.find(line), std::string::npos) << line << output;
        EXPECT_EQ(registry.OpenKey(Hive::LocalMachine, key, platform::RegAccess::Read), platform::kRegOk) << key;
    }
    EXPECT_NE(output.find("removed\t" + machine + service + "\n"), std::string::npos) << output;
    EXPECT_EQ(registry.OpenKey(Hive::LocalMachine, service, platform::RegAccess::Read), platform::kRegNotFound);

    // The backed-up values come back as any value does.
    RunScanner(L"quarantine restore --all --machine-wide", exitCode);
    EXPECT_EQ(Winlogon("Shell"), "C:\\evil.exe");
    EXPECT_EQ(Winlogon("Userinit"), "C:\\evil.exe,");
    EXPECT_EQ(registry.OpenKey(Hive::LocalMachine, service, platform::RegAccess::Read), platform::kRegOk);
}

// Another program added a second record under the id "quarantine list"
// showed, for the same stored copy, leading somewhere else: the id no
// longer names one record, and nothing is put back.
TEST_F(ConsoleWindowsPartsTest, ARestoreTakesOnlyTheRecordThatWasListed) {
    const std::string spy = scratch + "\\Downloads\\spy.exe";
    Plant(spy, "MZ spy");
    WriteDefinitions("FileDefinition.dat", {"spy.exe=Spy|" + FolderOfPath(spy)});
    DWORD exitCode = 0;
    std::string output = RunScanner(L"smart --no-cookies --no-processes --no-registry --no-report --remove", exitCode);
    ASSERT_EQ(exitCode, 1u) << output;
    const std::vector<QuarantineItem> items = ParseIndex(*files.ReadFile(quarantineFolder + "\\QuarantineIndex.txt"));
    ASSERT_EQ(items.size(), 1u);
    QuarantineItem planted = items[0];
    planted.originalLocation = scratch + "\\Startup\\spy.exe";
    ASSERT_TRUE(files.AppendFile(quarantineFolder + "\\QuarantineIndex.txt", FormatIndexRecord(planted) + "\r\n"));

    output = RunScanner(L"quarantine restore " + std::to_wstring(items[0].id), exitCode);
    EXPECT_EQ(exitCode, 2u) << output;
    EXPECT_NE(output.find("failed\t" + spy + "\n"), std::string::npos) << output;
    EXPECT_FALSE(files.Lookup(planted.originalLocation));
    EXPECT_FALSE(files.Lookup(spy));
}

}  // namespace
}  // namespace bastion::uitest
