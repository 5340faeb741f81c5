// bastion-scan.exe: the console scanner. For now it tells its identity and
// its usage.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/VersionResource.h"

namespace {

void PrintVersion() {
    auto strings = bastion::win32::ReadOwnVersionStrings();
    if (!strings) {
        std::puts("bastion-scan (no version resource)");
        return;
    }
    std::printf("%s %d.%d\n%s\n%s\n", strings->productName.c_str(), strings->fileVersionMajor,
                strings->fileVersionMinor, strings->companyName.c_str(), strings->comments.c_str());
}

void PrintHelp() {
    std::puts(
        "Usage: bastion-scan [--version] [--help]\n"
        "\n"
        "  --version   show the product name, version, company and website\n"
        "  --help      show this text");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    for (int i = 1; i < argc; ++i) {
        std::wstring argument = argv[i];
        if (argument == L"--version") {
            PrintVersion();
            return 0;
        }
        if (argument == L"--help" || argument == L"-h" || argument == L"/?") {
            PrintHelp();
            return 0;
        }
        std::fwprintf(stderr, L"bastion-scan: unknown argument %ls (see --help)\n", argv[i]);
        return 2;
    }
    PrintHelp();
    return 0;
}
