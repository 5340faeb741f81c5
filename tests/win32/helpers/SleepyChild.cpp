// A child process for the Wine tests. Without arguments it waits half a
// minute so that the tests can find and end it; with "--touch PATH" it
// creates that file and exits, which shows that its command line arrived.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"--touch") == 0) {
        HANDLE file = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return 1;
        }
        CloseHandle(file);
        return 0;
    }
    Sleep(30000);
    return 0;
}
