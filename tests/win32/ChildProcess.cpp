#include "ChildProcess.h"

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32::test {

ChildResult RunChild(const std::string& commandLine, unsigned long timeoutMs) {
    ChildResult result;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inherit, 0)) return result;
    // Only the child's end is inherited.
    ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    PROCESS_INFORMATION process{};
    std::wstring line = Widen(commandLine);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        return result;
    result.started = true;
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    // The pipe ends when the child's copy of the write end closes, which
    // needs this process's copy closed first.
    writeEnd.Reset();

    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
        result.output.append(buffer, got);

    if (::WaitForSingleObject(processHandle.Get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(processHandle.Get(), 1);
        ::WaitForSingleObject(processHandle.Get(), INFINITE);
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(processHandle.Get(), &exitCode);
    result.exitCode = exitCode;
    return result;
}

}  // namespace bastion::win32::test
