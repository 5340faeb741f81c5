// bastion-scan under Wine against the real machine: its exit status for a
// clean scan, a scan that finds something and missing definitions, and
// Ctrl+Break and Ctrl+C stopping a scan that runs.
#include <gtest/gtest.h>

#include "DataFolderFixture.h"

namespace bastion::uitest {
namespace {

class ConsoleScannerTest : public DataFolderFixture {
protected:
    ConsoleScannerTest() : DataFolderFixture("scratch") {}

    std::string Run(const std::wstring& arguments, DWORD& exitCode) { return RunScanner(arguments, exitCode); }
};

TEST_F(ConsoleScannerTest, ExitsWithZeroForNothingFoundOneForAThreatAndTwoForMissingDefinitions) {
    DWORD exitCode = 0;
    std::string output = Run(L"smart --no-processes --no-cookies --no-registry", exitCode);
    EXPECT_EQ(exitCode, 0u) << output;
    EXPECT_NE(output.find("Scanning complete."), std::string::npos) << output;
    EXPECT_TRUE(files.Lookup(DataFilePath(dataFolder, "Scan_Log.txt")).has_value()) << "the report, as with the log on";

    ASSERT_TRUE(files.WriteFile(scratch + "\\planted_spy.exe", "MZ not much of a program"));
    WriteDefinitions("FileDefinition.dat", {"planted_spy.exe=Planted Spy|" + scratch + "|Adware"});
    output = Run(L"smart --no-processes --no-cookies --no-registry --no-report", exitCode);
    EXPECT_EQ(exitCode, 1u) << output;
    EXPECT_NE(output.find("Planted Spy\t" + scratch + "\\planted_spy.exe\tAdware\t"), std::string::npos) << output;

    files.DeleteFile(DataFilePath(dataFolder, "BlockedCookies.dat"));
    output = Run(L"smart", exitCode);
    EXPECT_EQ(exitCode, 2u) << output;
    EXPECT_NE(output.find("Definition files are missing or they have been corrupted. Please run Live Update."),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find("Scanning complete."), std::string::npos) << output;
}

TEST_F(ConsoleScannerTest, ARunningThreatIsStoppedOnlyInItsFolderAndOneThatCannotBeStoppedExitsWithTwo) {
    const std::string name = "launcher_" + std::to_string(GetCurrentProcessId()) + ".exe";
    const std::string badCo = scratch + "\\BadCo";
    const std::string games = scratch + "\\Games";
    for (const std::string& folder : {badCo, games}) {
        ASSERT_TRUE(files.CreateFolder(folder));
        ASSERT_TRUE(CopyFileW(WinePath(BASTION_SLEEPY_CHILD_PATH).c_str(), win32::Widen(folder + "\\" + name).c_str(),
                              FALSE));
    }
    WriteDefinitions("ExeDefinition.dat", {name + "=Launcher|" + badCo});
    std::string shown = name;
    for (char& c : shown) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    DWORD exitCode = 0;
    {
        StartedProgram threat(win32::Widen(badCo + "\\" + name), L"");
        StartedProgram usersOwn(win32::Widen(games + "\\" + name), L"");
        ASSERT_TRUE(threat.Started() && usersOwn.Started());
        Sleep(500);
        const std::string output = Run(L"smart --no-cookies --no-registry --no-report", exitCode);
        EXPECT_EQ(exitCode, 1u) << output;
        EXPECT_NE(output.find("Running Application\t" + shown + " was stopped\t\t"), std::string::npos) << output;
        EXPECT_NE(threat.WaitForExit(5000), STILL_ACTIVE);
        EXPECT_EQ(usersOwn.WaitForExit(200), STILL_ACTIVE) << "the same name elsewhere is left alone";
    }
    // One this program may only query, as an elevated one.
    StartedProgram guarded(win32::Widen(badCo + "\\" + name), L"", L"D:P(A;;0x00101000;;;WD)");
    ASSERT_TRUE(guarded.Started());
    Sleep(500);
    const std::string output = Run(L"smart --no-cookies --no-registry --no-report", exitCode);
    EXPECT_EQ(exitCode, 2u) << output;
    EXPECT_NE(output.find("Running Application\t" + shown + " could not be stopped: that needs administrator rights"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("a running threat could not be stopped"), std::string::npos) << output;
    EXPECT_EQ(guarded.WaitForExit(200), STILL_ACTIVE);
}

// A scan started on this console, its output
// read through a pipe; the scan shows its progress line (asked for, as the
// pipe is no terminal) once it runs.
class RunningScan {
public:
    RunningScan(const std::wstring& arguments, DWORD flags) {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        HANDLE writeEnd = nullptr;
        if (!CreatePipe(&read_, &writeEnd, &inherit, 0)) return;
        SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
        std::wstring exe = WinePath(BASTION_SCAN_EXE_PATH);
        std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = writeEnd;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        PROCESS_INFORMATION info{};
        if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags,
                           nullptr, nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
        }
        CloseHandle(writeEnd);
    }
    ~RunningScan() {
        if (process_) {
            if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 9);
            CloseHandle(process_);
        }
        if (read_) CloseHandle(read_);
    }

    bool Started() const { return process_ != nullptr; }

    // Reads until the text appears or the time is up.
    bool WaitForOutput(const std::string& text, DWORD milliseconds) {
        ULONGLONG deadline = GetTickCount64() + milliseconds;
        while (output_.find(text) == std::string::npos && GetTickCount64() < deadline) {
            DWORD available = 0;
            if (!PeekNamedPipe(read_, nullptr, 0, nullptr, &available, nullptr)) return false;
            if (available == 0) {
                Sleep(20);
                continue;
            }
            ReadSome();
        }
        return output_.find(text) != std::string::npos;
    }
    // The exit status once the program ends, reading the rest of its output.
    DWORD Finish(DWORD milliseconds) {
        ULONGLONG deadline = GetTickCount64() + milliseconds;
        while (GetTickCount64() < deadline) {
            DWORD available = 0;
            if (!PeekNamedPipe(read_, nullptr, 0, nullptr, &available, nullptr)) break;  // closed: ended
            if (available > 0) {
                ReadSome();
            } else if (WaitForSingleObject(process_, 20) == WAIT_OBJECT_0) {
                continue;
            }
        }
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) GetExitCodeProcess(process_, &code);
        return code;
    }
    const std::string& Output() const { return output_; }

private:
    void ReadSome() {
        char buffer[4096];
        DWORD read = 0;
        if (ReadFile(read_, buffer, sizeof(buffer), &read, nullptr)) output_.append(buffer, read);
    }

    HANDLE read_ = nullptr;
    HANDLE process_ = nullptr;
    std::string output_;
};

class ConsoleInterruptTest : public ConsoleScannerTest {
protected:
    // A registry definition set long enough that the scan is still reading
    // it when the test presses the keys.
    ConsoleInterruptTest() {
        std::vector<std::string> lines;
        for (int i = 0; i < 400000; ++i) lines.push_back("1^Software\\BastionNoSuchKey" + std::to_string(i) + "=None");
        WriteDefinitions("RegistryDefinition.dat", lines);
    }

    // Control events travel through a console: one for this test and the
    // scanner it starts, when the test runs without one.
    void SetUp() override {
        DWORD mode = 0;
        // Run from a pipe, Wine gives the test a console that carries no
        // control events; a console of its own does.
        if (!GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode)) {
            FreeConsole();
            allocated_ = AllocConsole();
        }
        SetConsoleCtrlHandler(PassBy, TRUE);
    }
    void TearDown() override {
        SetConsoleCtrlHandler(PassBy, FALSE);
        if (allocated_) FreeConsole();
    }
    static BOOL WINAPI PassBy(DWORD) { return TRUE; }

    // Wine delivers no control event to a single process group
    // (GenerateConsoleCtrlEvent with a group fails with
    // ERROR_INVALID_HANDLE), so the key goes to the whole console: the
    // scanner and this test, whose handler lets it pass by.
    void ExpectStoppedBy(DWORD event) {
        RunningScan scan(L"smart --no-processes --no-cookies --no-report --progress", 0);
        ASSERT_TRUE(scan.Started());
        ASSERT_TRUE(scan.WaitForOutput("Scanning registry", 60000)) << scan.Output();
        if (!GenerateConsoleCtrlEvent(event, 0)) {
            // Wine delivers Ctrl+C only; the handler's Ctrl+Break path is
            // tested in win32_tests.
            GTEST_SKIP() << "this system generates no such console event (error " << GetLastError() << ")";
        }
        DWORD code = scan.Finish(60000);
        EXPECT_EQ(code, 2u) << scan.Output();
        EXPECT_NE(scan.Output().find("Scanning was cancelled."), std::string::npos) << scan.Output();
    }

    bool allocated_ = false;
};

TEST_F(ConsoleInterruptTest, CtrlBreakStopsTheScanWhichExitsWithTwo) { ExpectStoppedBy(CTRL_BREAK_EVENT); }

TEST_F(ConsoleInterruptTest, CtrlCStopsTheScanWhichExitsWithTwo) { ExpectStoppedBy(CTRL_C_EVENT); }

}  // namespace
}  // namespace bastion::uitest
