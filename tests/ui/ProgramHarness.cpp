#include "ProgramHarness.h"

#include <algorithm>
#include <vector>

#include <commctrl.h>
#include <sddl.h>

namespace bastion::uitest {

std::wstring WinePath(const char* linuxPath) {
    std::wstring path = L"Z:";
    for (const char* p = linuxPath; *p; ++p) path += (*p == '/') ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

StartedProgram::StartedProgram(const std::wstring& exe, const std::wstring& arguments,
                               const wchar_t* securityDescriptor) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, FALSE};
    if (securityDescriptor &&
        ConvertStringSecurityDescriptorToSecurityDescriptorW(securityDescriptor, SDDL_REVISION_1, &descriptor,
                                                             nullptr)) {
        attributes.lpSecurityDescriptor = descriptor;
    }
    if (CreateProcessW(exe.c_str(), commandLine.data(), descriptor ? &attributes : nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
    }
    if (descriptor) LocalFree(descriptor);
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
    const wchar_t* className = nullptr;  // else the first application window
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    const bool wanted = search->className
                            ? ClassName(window) == search->className
                            : IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr &&
                                  (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0;
    if (wanted) {
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

HWND StartedProgram::WaitForWindowOfClass(const wchar_t* className, DWORD milliseconds) {
    ULONGLONG deadline = GetTickCount64() + milliseconds;
    do {
        WindowSearch search{processId_, nullptr, className};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(5);
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

namespace bastion::uitest {

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

namespace {
struct DescendantSearch {
    const wchar_t* className;
    const std::wstring* text;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDescendant(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<DescendantSearch*>(context);
    if (_wcsicmp(ClassName(window).c_str(), search->className) == 0 &&
        (!search->text || WindowText(window) == *search->text)) {
        search->found.push_back(window);
    }
    return TRUE;
}
}  // namespace

HWND FindDescendant(HWND parent, const wchar_t* className, const std::wstring& text) {
    DescendantSearch search{className, &text, {}};
    EnumChildWindows(parent, CollectDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

std::vector<HWND> FindDescendants(HWND parent, const wchar_t* className) {
    DescendantSearch search{className, nullptr, {}};
    EnumChildWindows(parent, CollectDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RemoteBuffer::RemoteBuffer(HWND window, std::size_t size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

bool RemoteBuffer::Write(const void* data, std::size_t size, std::size_t offset) {
    SIZE_T written = 0;
    return address_ &&
           WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &written) && written == size;
}

bool RemoteBuffer::Read(void* data, std::size_t size, std::size_t offset) const {
    SIZE_T read = 0;
    return address_ &&
           ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &read) && read == size;
}

int ListViewItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

namespace {
constexpr int kTextCapacity = 1024;
}

std::wstring ListViewItemText(HWND list, int row, int column) {
    // The item structure, followed by room for the text it points to.
    RemoteBuffer buffer(list, sizeof(LVITEMW) + kTextCapacity * sizeof(wchar_t));
    if (!buffer.Valid()) return {};
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = kTextCapacity;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.Address()) + sizeof(LVITEMW));
    buffer.Write(&item, sizeof(item));
    const auto length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(buffer.Address()));
    std::wstring text(kTextCapacity, L'\0');
    if (!buffer.Read(text.data(), kTextCapacity * sizeof(wchar_t), sizeof(LVITEMW))) return {};
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(length, 0, kTextCapacity - 1)));
    return text;
}

std::vector<std::wstring> ListViewColumns(HWND list) {
    std::vector<std::wstring> columns;
    RemoteBuffer buffer(list, sizeof(LVCOLUMNW) + kTextCapacity * sizeof(wchar_t));
    if (!buffer.Valid()) return columns;
    for (int index = 0;; ++index) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.cchTextMax = kTextCapacity;
        column.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.Address()) + sizeof(LVCOLUMNW));
        buffer.Write(&column, sizeof(column));
        if (!SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.Address()))) {
            break;
        }
        std::wstring text(kTextCapacity, L'\0');
        buffer.Read(text.data(), kTextCapacity * sizeof(wchar_t), sizeof(LVCOLUMNW));
        text.resize(wcsnlen(text.c_str(), kTextCapacity));
        columns.push_back(text);
    }
    return columns;
}

HWND FindListView(HWND window, const std::vector<std::wstring>& columns) {
    for (HWND list : FindDescendants(window, WC_LISTVIEWW)) {
        if (ListViewColumns(list) == columns) return list;
    }
    return nullptr;
}

RECT TabItemRect(HWND tabs, int index) {
    RECT rect{};
    RemoteBuffer buffer(tabs, sizeof(RECT));
    if (buffer.Valid() &&
        SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.Address()))) {
        buffer.Read(&rect, sizeof(rect));
    }
    return rect;
}

void ClickAt(HWND window, POINT point) {
    const LPARAM position = MAKELPARAM(point.x, point.y);
    // Posted: a control may follow the mouse after the press until the
    // release arrives, which a sent press would wait for in vain.
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, position);
    PostMessageW(window, WM_LBUTTONUP, 0, position);
}

void PumpMessagesFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount64() < end);
}

}  // namespace bastion::uitest
