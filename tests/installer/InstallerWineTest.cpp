// The Windows Installer package under Wine, used the way an administrator
// deploys it: quiet installs with msiexec, an upgrade from an older version,
// the installed programs started from Program Files, a repair by installing
// again, a refused downgrade and an uninstall that keeps the user's data.
// The package installs for the whole machine of the test prefix, which the
// other tests share: whatever it leaves is uninstalled again, and the data
// folder the test started with is put back.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "BuildIdentity.h"
#include "ProgramHarness.h"
// After <windows.h>, which ProgramHarness.h brings.
#include <msi.h>
// After ProgramHarness.h: takes away the macros that rename DeleteFile.
#include "platform/win32/WindowsApi.h"
#include "app/RunAtStartup.h"
#include "definitions/DataFiles.h"
#include "definitions/PathTokens.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"

namespace bastion::installertest {
namespace {

using platform::Hive;
using uitest::StartedProgram;
using uitest::WinePath;
using win32::Narrow;
using win32::Widen;

// The starter set's test item: what a user puts into Documents to see the
// scanner find something, and the name the scanner gives it.
struct TestItem {
    const char* fileName;
    const char* content;
    const char* threat;
};
constexpr TestItem kTestItem{"bastion-test-file.txt", "A harmless file to see the scanner work.\r\n", "Bastion.TestFile"};

const std::string kRunKey{kRunKeyPath};
const std::string kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class InstallerWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        UninstallEveryVersion();
        dataFolder = DataFolder(PathTokens::Resolve(shell));
        // The test starts from a data folder without definitions, as a new
        // user of the machine does. A folder put aside by a run that did not
        // end is the one to restore; the data beside it is that run's.
        if (files.FolderExists(dataFolder + kAside)) {
            files.DeleteFolderTree(dataFolder);
        } else if (files.FolderExists(dataFolder)) {
            ASSERT_TRUE(MoveFileW(Widen(dataFolder).c_str(), Widen(dataFolder + kAside).c_str()))
                << "the data folder could not be put aside";
        }
        dataFolderAside = true;
        programFolder = *shell.SpecialFolderPath(platform::csidl::kProgramFiles) + "\\" + build::kProductName;
        testItem = *shell.SpecialFolderPath(platform::csidl::kPersonal) + "\\" + kTestItem.fileName;
        ASSERT_TRUE(files.WriteFile(testItem, kTestItem.content));
    }

    void TearDown() override {
        UninstallEveryVersion();
        if (!testItem.empty()) files.DeleteFile(testItem);
        if (dataFolderAside) {
            files.DeleteFolderTree(dataFolder);
            if (files.FolderExists(dataFolder + kAside)) {
                MoveFileW(Widen(dataFolder + kAside).c_str(), Widen(dataFolder).c_str());
            }
        }
    }

    // msiexec with these arguments, to its end; its exit code. The end of
    // its log is kept for the message of a failed install.
    DWORD Msiexec(const std::string& arguments) {
        const std::string log =
            Narrow(WinePath(BASTION_INSTALLER_SCRATCH)) + "\\msiexec-" + std::to_string(++runs) + ".log";
        StartedProgram msiexec(SystemFolder() + L"\\msiexec.exe", Widen(arguments + " /l*v \"" + log + "\""));
        const DWORD code = msiexec.WaitForExit(180000);
        if (code != ERROR_SUCCESS) {
            const std::string text = files.ReadFile(log).value_or("");
            lastLog = "msiexec " + arguments + " ended with " + std::to_string(code) + "; its log ends:\n" +
                      text.substr(text.size() > 4000 ? text.size() - 4000 : 0);
        }
        return code;
    }
    std::string Install(const char* package, const std::string& properties = "") {
        return "/i \"" + Narrow(WinePath(package)) + "\" /qn " + properties;
    }

    // The product codes installed under the package's upgrade code.
    static std::vector<std::wstring> InstalledVersions() {
        std::vector<std::wstring> products;
        wchar_t product[39] = {};
        for (DWORD index = 0; MsiEnumRelatedProductsW(Widen(BASTION_UPGRADE_CODE).c_str(), 0, index, product) ==
                              ERROR_SUCCESS;
             ++index) {
            products.emplace_back(product);
        }
        return products;
    }
    static std::string ProductInfo(const std::wstring& product, const wchar_t* property) {
        wchar_t value[1024] = {};
        DWORD size = 1024;
        if (MsiGetProductInfoW(product.c_str(), property, value, &size) != ERROR_SUCCESS) return {};
        return Narrow(value);
    }
    std::optional<std::string> RegistryText(const std::string& key, const std::string& name) {
        platform::RegValue value;
        if (registry.QueryValue(Hive::LocalMachine, key, name, value, platform::RegView::Bits64) != platform::kRegOk) {
            return std::nullopt;
        }
        return value.text;
    }
    bool Exists(const std::string& path) { return files.Lookup(path).has_value(); }
    bool HasShortcut() {
        // A per-machine shortcut belongs in the common Programs folder; Wine
        // puts it in the installing user's.
        const std::string name = std::string("\\") + build::kProductName + ".lnk";
        return Exists(*shell.SpecialFolderPath(platform::csidl::kCommonPrograms) + name) ||
               Exists(*shell.SpecialFolderPath(platform::csidl::kPrograms) + name);
    }
    std::string InstalledFile(const char* name) { return programFolder + "\\" + name; }

    static std::wstring SystemFolder() {
        wchar_t folder[MAX_PATH] = {};
        GetSystemDirectoryW(folder, MAX_PATH);
        return folder;
    }
    void UninstallEveryVersion() {
        for (const std::wstring& product : InstalledVersions()) Msiexec("/x " + Narrow(product) + " /qn");
    }

    static constexpr const char* kAside = ".before-installer-test";
    win32::Win32Shell shell;
    win32::Win32FileSystem files;
    win32::Win32Registry registry;
    std::string dataFolder;
    std::string programFolder;
    std::string testItem;
    bool dataFolderAside = false;
    std::string lastLog;
    int runs = 0;
};

TEST_F(InstallerWineTest, UpgradeRunScanRepairAndUninstallKeepingTheData) {
    const std::string runEntry = RunCommand(InstalledFile(BASTION_PROGRAM_FILE));

    // An older version, installed quietly with the installer's Run entry.
    ASSERT_EQ(Msiexec(Install(BASTION_PREVIOUS_PACKAGE_PATH, "RUNATSTARTUP=1")), 0u) << lastLog;
    ASSERT_EQ(InstalledVersions().size(), 1u);
    EXPECT_EQ(ProductInfo(InstalledVersions()[0], INSTALLPROPERTY_VERSIONSTRING), BASTION_PREVIOUS_PACKAGE_VERSION);
    EXPECT_EQ(RegistryText(kRunKey, build::kProductName), runEntry);

    // This version replaces it in place, and keeps the Run entry it found.
    ASSERT_EQ(Msiexec(Install(BASTION_PACKAGE_PATH)), 0u) << lastLog;
    const std::vector<std::wstring> installed = InstalledVersions();
    ASSERT_EQ(installed.size(), 1u) << "two entries in the installed-programs list";
    const std::wstring product = installed[0];
    EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_VERSIONSTRING), BASTION_PACKAGE_VERSION);
    EXPECT_EQ(RegistryText(kRunKey, build::kProductName), runEntry);

    // The installed-programs entry and what the package put in place.
    const std::string entry = kUninstallKey + Narrow(product);
    EXPECT_EQ(RegistryText(entry, "DisplayName"), build::kProductName);
    EXPECT_EQ(RegistryText(entry, "Publisher"), build::kCompanyName);
    EXPECT_EQ(RegistryText(entry, "DisplayVersion"), BASTION_PACKAGE_VERSION);
    EXPECT_NE(RegistryText(entry, "UninstallString").value_or("").find(Narrow(product)), std::string::npos);
    EXPECT_EQ(RegistryText(entry, "InstallLocation"), programFolder + "\\");
    EXPECT_TRUE(Exists(ProductInfo(product, INSTALLPROPERTY_PRODUCTICON))) << "no icon";
    for (const char* name : {BASTION_PROGRAM_FILE, BASTION_SCANNER_FILE, "Localization.txt", "Help.chm",
                             "StarterDefinitions\\FileDefinition.dat", "StarterDefinitions\\date.dat",
                             "StarterDefinitions\\EasyPrivacy-Licence.txt"}) {
        EXPECT_TRUE(Exists(InstalledFile(name))) << name;
    }
    EXPECT_TRUE(HasShortcut());

    {
        // The installed program starts, installs its starter set from
        // beside itself and reports the installer's Run entry.
        StartedProgram program(Widen(InstalledFile(BASTION_PROGRAM_FILE)), L"");
        HWND window = program.WaitForWindow(30000);
        ASSERT_NE(window, nullptr) << "the installed program showed no window";
        EXPECT_NE(uitest::FindDescendant(window, L"Static", L"(Enabled - All Users)"), nullptr);
        EXPECT_TRUE(DataFileExists(files, dataFolder, datafile::kFileDefinitions));
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
    DWORD scanned = 0;
    const std::string found = uitest::RunAndCapture(Widen(InstalledFile(BASTION_SCANNER_FILE)),
                                                    L"file \"" + Widen(testItem) + L"\"", scanned);
    EXPECT_EQ(scanned, 1u) << found;
    EXPECT_NE(found.find(kTestItem.threat), std::string::npos) << found;

    // Installing the same package again repairs what was damaged.
    const std::optional<std::string> help = files.ReadFile(InstalledFile("Help.chm"));
    ASSERT_TRUE(files.WriteFile(InstalledFile("Help.chm"), "damaged"));
    ASSERT_TRUE(files.DeleteFile(InstalledFile(BASTION_SCANNER_FILE)));
    ASSERT_EQ(Msiexec(Install(BASTION_PACKAGE_PATH)), 0u) << lastLog;
    EXPECT_EQ(files.ReadFile(InstalledFile("Help.chm")), help);
    EXPECT_TRUE(Exists(InstalledFile(BASTION_SCANNER_FILE)));
    EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{product});

    // An older version does not replace a newer one.
    EXPECT_NE(Msiexec(Install(BASTION_PREVIOUS_PACKAGE_PATH)), 0u);
    EXPECT_EQ(InstalledVersions(), std::vector<std::wstring>{product});

    // Uninstalling takes the program, its shortcut and its Run entry, and
    // leaves the definitions and the scan report in the data folder.
    ASSERT_EQ(Msiexec("/x \"" + Narrow(WinePath(BASTION_PACKAGE_PATH)) + "\" /qn"), 0u) << lastLog;
    EXPECT_TRUE(InstalledVersions().empty());
    EXPECT_FALSE(files.FolderExists(programFolder));
    EXPECT_FALSE(HasShortcut());
    EXPECT_EQ(RegistryText(kRunKey, build::kProductName), std::nullopt);
    EXPECT_EQ(RegistryText(entry, "DisplayName"), std::nullopt);
    EXPECT_TRUE(DataFileExists(files, dataFolder, datafile::kFileDefinitions));
    EXPECT_TRUE(DataFileExists(files, dataFolder, datafile::kScanLog));
}

}  // namespace
}  // namespace bastion::installertest
