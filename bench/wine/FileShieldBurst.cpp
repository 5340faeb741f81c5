// The file shield against a burst: Bastion.exe runs in the notification
// area while 10,000 files are unpacked into the user's Downloads folder,
// the last of them the antivirus test file (a content definition). The
// shield checks its queue in the order the files arrived, so the moment the
// last one is in the quarantine all have been checked. Printed: the time
// the unpacking took, the time from its start until the last file was
// quarantined (the goal is 30 s), the processor time Bastion.exe used
// meanwhile, and the processor time it used in the ten idle seconds after
// (an idle shield polls nothing). Run it through wine-run.sh; it takes
// about a minute and leaves the settings and folders as it found them.
#include <cstdio>
#include <string>

#include "ProgramHarness.h"
// After ProgramHarness.h: takes away the macros that rename DeleteFile.
#include "platform/win32/WindowsApi.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/PathTokens.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "services/settings/SettingsStore.h"
#include "BuildIdentity.h"

namespace {

using namespace bastion;

constexpr int kFiles = 10000;
constexpr std::string_view kEicar = R"(X5O!P%@AP[4\PZX54(P^)7CC)7}$EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*)";
constexpr std::string_view kEicarKey = "68:275a021bbfb6489e54d471899f7db9d1663fc695ec2fe2a2c4538aabf651fd0f";

double ProcessorSeconds(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

double Now() { return static_cast<double>(::GetTickCount64()) / 1000.0; }

}  // namespace

int main() {
    win32::Win32Shell shell;
    win32::Win32FileSystem files;
    win32::Win32CodePage codePage;
    win32::Win32Registry registry;
    services::SettingsStore settings(registry, build::kProductName);
    const std::string dataFolder = DataFolder(PathTokens::Resolve(shell));
    const std::string downloads = shell.DownloadsFolderPath().value_or("");
    if (downloads.empty()) {
        std::printf("Windows names no Downloads folder\n");
        return 1;
    }
    files.CreateFolder(dataFolder);
    files.CreateFolder(downloads);
    const std::string contentFile = DataFilePath(dataFolder, "ContentDefinition.dat");
    const std::optional<std::string> keptContent = files.ReadFile(contentFile);
    files.WriteFile(contentFile, EncodeDefinitionLine(codePage, std::string(kEicarKey) + "=EICAR-Test-File|Testfile") +
                                     "\r\n");
    settings.WriteSetting("Settings", "Minimized", "Yes");
    settings.WriteSetting("OptionAndSettings", "optMemorySheildOn", "False");
    settings.WriteSetting("OptionAndSettings", "optFileShieldQuarantine", "True");

    int status = 0;
    {
        uitest::StartedProgram program(uitest::WinePath(BASTION_EXE_PATH), L"");
        HWND menu = program.WaitForWindowOfClass(L"BastionTrayMenu", 60000);
        HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, program.ProcessId());
        if (!menu || !process) {
            std::printf("Bastion.exe did not start\n");
            return 1;
        }
        // The start-up's own work settles first.
        ::Sleep(5000);
        const std::string folder = downloads + "\\burst " + std::to_string(::GetCurrentProcessId());
        files.CreateFolder(folder);
        const std::string last = folder + "\\part" + std::to_string(kFiles - 1) + ".dat";
        const double cpuBefore = ProcessorSeconds(process);
        const double started = Now();
        for (int i = 0; i < kFiles; ++i) {
            const std::string path = folder + "\\part" + std::to_string(i) + ".dat";
            files.WriteFile(path, i == kFiles - 1 ? std::string(kEicar) : "harmless part " + std::to_string(i));
        }
        const double unpacked = Now();
        while (files.Lookup(last) && Now() - started < 120) ::Sleep(50);
        const double checked = Now();
        const double cpuBurst = ProcessorSeconds(process) - cpuBefore;
        const bool found = !files.Lookup(last);
        ::Sleep(1000);
        const double cpuIdleBefore = ProcessorSeconds(process);
        ::Sleep(10000);
        const double cpuIdle = ProcessorSeconds(process) - cpuIdleBefore;

        std::printf("files unpacked into Downloads      %d\n", kFiles);
        std::printf("unpacking took                     %.1f s\n", unpacked - started);
        std::printf("last file quarantined after        %.1f s%s\n", checked - started, found ? "" : " (NOT FOUND)");
        std::printf("Bastion.exe processor time, burst  %.1f s\n", cpuBurst);
        std::printf("Bastion.exe processor time, 10 s idle after  %.2f s\n", cpuIdle);
        status = found && checked - started <= 30 ? 0 : 1;

        ::CloseHandle(process);
        if (HWND main = program.WaitForWindow(1000)) ::PostMessageW(main, WM_CLOSE, 0, 0);
        program.WaitForExit(10000);
        files.DeleteFolderTree(folder);
    }
    settings.WriteSetting("Settings", "Minimized", "No");
    settings.WriteSetting("OptionAndSettings", "optMemorySheildOn", "True");
    settings.WriteSetting("OptionAndSettings", "optFileShieldQuarantine", "False");
    if (keptContent) {
        files.WriteFile(contentFile, *keptContent);
    } else {
        files.DeleteFile(contentFile);
    }
    return status;
}
