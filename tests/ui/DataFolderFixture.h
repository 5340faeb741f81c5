// A test of the programs against the data folder of this Wine user: the
// definition set written for the test (empty files unless it writes lines),
// a scratch folder inside the data folder, and the ways to wait for what
// the programs show. Everything is taken away again afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BuildIdentity.h"
#include "ProgramHarness.h"
// After ProgramHarness.h: takes away the macros that rename DeleteFile.
#include "platform/win32/WindowsApi.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/PathTokens.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "ui/forms/FrmMain.h"
#include "services/settings/SettingsStore.h"
#include "ui/win32/MenuBar.h"

namespace bastion::uitest {

// The antivirus test file, and the content definition that names it.
inline constexpr std::string_view kEicar =
    R"(X5O!P%@AP[4\PZX54(P^)7CC)7}$EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*)";
inline constexpr std::string_view kEicarKey = "68:275a021bbfb6489e54d471899f7db9d1663fc695ec2fe2a2c4538aabf651fd0f";

inline const char* const kDefinitionFiles[] = {"FileDefinition.dat",  "DirectoryDefinition.dat",
                                               "RegistryDefinition.dat", "ExeDefinition.dat",
                                               "BlockedCookies.dat",  "ContentDefinition.dat"};

// Polls until the condition holds or the time is up.
template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    while (!condition()) {
        if (GetTickCount64() > deadline) return false;
        Sleep(100);
    }
    return true;
}

class DataFolderFixture : public ::testing::Test {
protected:
    explicit DataFolderFixture(const std::string& scratchName)
        : dataFolder(DataFolder(PathTokens::Resolve(shell))) {
        files.CreateFolder(dataFolder);
        for (const char* file : kDefinitionFiles) WriteDefinitions(file, {});
        scratch = dataFolder + "\\" + scratchName + "_" + std::to_string(GetCurrentProcessId());
        files.CreateFolder(scratch);
    }
    ~DataFolderFixture() override {
        for (const char* file : kDefinitionFiles) files.DeleteFile(DataFilePath(dataFolder, file));
        files.DeleteFile(DataFilePath(dataFolder, "Scan_Log.txt"));
        files.DeleteFolderTree(scratch);
    }

    void WriteDefinitions(const std::string& file, const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines) bytes += EncodeDefinitionLine(codePage, line) + "\r\n";
        ASSERT_TRUE(files.WriteFile(DataFilePath(dataFolder, file), bytes));
    }

    // bastion-scan with these arguments, run to its end; what it wrote.
    std::string RunScanner(const std::wstring& arguments, DWORD& exitCode) {
        return RunAndCapture(WinePath(BASTION_SCAN_EXE_PATH), arguments, exitCode);
    }

    HWND Button(HWND window, const std::wstring& caption) { return FindDescendant(window, L"Button", caption); }

    // A top-level window of the program with that caption, other than
    // main, waiting up to ten seconds for it.
    HWND WaitForPopup(const StartedProgram& program, HWND main, const std::wstring& caption) {
        struct Search {
            DWORD processId;
            HWND owner;
            std::wstring caption;
            HWND found = nullptr;
        } search{program.ProcessId(), main, caption};
        WaitFor(
            [&] {
                search.found = nullptr;
                EnumWindows(
                    [](HWND window, LPARAM context) -> BOOL {
                        auto* wanted = reinterpret_cast<Search*>(context);
                        DWORD processId = 0;
                        GetWindowThreadProcessId(window, &processId);
                        if (processId == wanted->processId && window != wanted->owner && IsWindowVisible(window) &&
                            WindowText(window) == wanted->caption) {
                            wanted->found = window;
                            return FALSE;
                        }
                        return TRUE;
                    },
                    reinterpret_cast<LPARAM>(&search));
                return search.found != nullptr;
            },
            10000);
        return search.found;
    }

    // The command of a main window menu item, as the menu bar numbers the
    // form's items (menus do not show across processes here); 0 for none.
    template <typename Pick>
    static UINT MenuCommand(Pick pick) {
        ui::FrmMain model;
        win32::MenuBar bar(model);
        for (int candidate = win32::MenuBar::kFirstCommand; candidate < win32::MenuBar::kFirstCommand + 100;
             ++candidate) {
            if (bar.ItemOfCommand(candidate) == &pick(model)) return static_cast<UINT>(candidate);
        }
        return 0;
    }

    win32::Win32Shell shell;
    win32::Win32FileSystem files;
    win32::Win32CodePage codePage;
    win32::Win32Registry registry;
    services::SettingsStore settings{registry, build::kProductName};
    std::string dataFolder;
    std::string scratch;
};

}  // namespace bastion::uitest
