#include "ProgramHarness.h"

#include <vector>

namespace bastion::uitest {

std::wstring WinePath(const char* linuxPath) {
    std::wstring path = L"Z:";
    for (const char* p = linuxPath; *p; ++p) path += (*p == '/') ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

StartedProgram::StartedProgram(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
    }
}

StartedProgram::~StartedProgram() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

DWORD StartedProgram::WaitForExit(DWORD milliseconds) {
    if (!process_) return STILL_ACTIVE;
    if (WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

namespace {
struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND StartedProgram::WaitForWindow(DWORD milliseconds) {
    ULONGLONG deadline = GetTickCount64() + milliseconds;
    do {
        WindowSearch search{processId_, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(100);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

std::string RunAndCapture(const std::wstring& exe, const std::wstring& arguments, DWORD& exitCode) {
    exitCode = STILL_ACTIVE;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    BOOL started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  nullptr, &startup, &info);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0) output.append(buffer, read);
        WaitForSingleObject(info.hProcess, 30000);
        GetExitCodeProcess(info.hProcess, &exitCode);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    CloseHandle(readEnd);
    return output;
}

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    GetWindowTextW(window, buffer.data(), length + 1);
    return std::wstring(buffer.data());
}

}  // namespace bastion::uitest
