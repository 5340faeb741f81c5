// bastion-scan.exe: the console scanner. A scan of the chosen kind through
// the same controller as the program's Start button, without a window.
#include "platform/win32/WindowsApi.h"

#include <exception>
#include <string>
#include <vector>

#include "cli/CliArguments.h"
#include "cli/ConsoleQuarantine.h"
#include "cli/ConsoleScan.h"
#include "cli/ConsoleUpdate.h"
#include "main/ConsoleControl.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/ComSecurity.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "ui/win32/IdentityFromVersionResource.h"

namespace {

using namespace bastion;

std::string VersionText() {
    auto strings = win32::ReadOwnVersionStrings();
    if (!strings) return "bastion-scan (no version resource)\n";
    return strings->productName + " " + std::to_string(strings->fileVersionMajor) + "." +
           std::to_string(strings->fileVersionMinor) + "\n" + strings->companyName + "\n" + strings->comments + "\n";
}

int Run(int argc, wchar_t** argv, win32::Win32Console& console) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(win32::Narrow(argv[i]));
    cli::ParsedArguments parsed = cli::ParseArguments(arguments);
    if (!parsed.Ok()) {
        console.Err("bastion-scan: " + parsed.error + " (see --help)\n");
        return cli::kExitError;
    }
    switch (parsed.arguments.command) {
        case cli::Command::Help:
            console.Out(cli::HelpText());
            return 0;
        case cli::Command::Version:
            console.Out(VersionText());
            return 0;
        case cli::Command::QuarantineList:
        case cli::Command::QuarantineRestore: {
            win32::Win32Platform platform;
            return cli::RunQuarantineCommand(parsed.arguments, platform.Get(), console);
        }
        case cli::Command::Scan:
        case cli::Command::Update:
            break;
    }
    if (!parsed.arguments.path.empty()) {
        // Short names ("PROGRA~1") would not agree with the folders the
        // definitions name: matched by their long form.
        parsed.arguments.path =
            win32::Narrow(win32::LongPath(win32::FullPath(win32::Widen(parsed.arguments.path))));
    }
    // A removal (--remove) asks for a restore point, which needs COM and a
    // security that lets the restore service call back.
    win32::ComApartment com;
    win32::InitializeComSecurity();
    std::atomic<bool>& interrupted = win32::InstallConsoleInterruptHandler();
    win32::Win32Platform platform;
    if (parsed.arguments.command == cli::Command::Update) {
        return cli::RunConsoleUpdate(platform.Get(), win32::ReadOwnIdentity(), console, interrupted);
    }
    return cli::RunConsoleScan(parsed.arguments, platform.Get(), win32::ReadOwnIdentity(), console, interrupted);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    win32::Win32Console console;
    try {
        return Run(argc, argv, console);
    } catch (const std::exception& error) {
        console.Err(std::string("bastion-scan: ") + error.what() + "\n");
    } catch (...) {
        console.Err("bastion-scan: unexpected failure\n");
    }
    return cli::kExitError;
}
