#include "harness/FuzzMachine.h"

#include "cli/ConsoleDialogs.h"
#include "common/Lines.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionCodec.h"

namespace bastion::fuzz {

using platform::Hive;

FuzzMachine::FuzzMachine() {
    testing::FakeFileSystem& disk = machine.files;
    disk.AddDrive("D", platform::DriveType::Fixed);
    disk.AddFile("C:\\WINDOWS\\system32\\spy.dll", "MZ spyware");
    disk.AddFile("C:\\Program Files\\SpyCo\\spy.exe", "MZ spyware");
    disk.AddFile("C:\\Program Files\\SpyCo\\bin\\toolbar.dll", testing::ProgramWithCompany("Microsoft Corporation"));
    disk.AddFile("C:\\Program Files\\SpyCo\\bin\\helper.dll", testing::ProgramWithCompany("SpyCo Ltd."));
    disk.AddFile("C:\\WINDOWS\\system32\\kernel32.dll", testing::ProgramWithCompany("Microsoft Corporation"));
    disk.AddFile("C:\\Temp\\Spy Tools\\dialer.exe", "MZ dialer");
    disk.AddFolder("C:\\Program Files\\AdCo\\Data");
    disk.AddFile("D:\\SpyCo\\spy.exe", "MZ spyware");

    testing::FakeRegistry& registry = machine.registry;
    registry.SetString(Hive::LocalMachine, "Software\\SpyCo", "Path", "C:\\Program Files\\SpyCo");
    registry.SetString(Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "SpyCo",
                       "C:\\Program Files\\SpyCo\\spy.exe");
    registry.AddKey(Hive::CurrentUser, "Software\\AdCo\\Toolbar");
    registry.AddKey(Hive::ClassesRoot, "CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32");

    machine.processes.Add(4, "C:\\WINDOWS\\explorer.exe");
    machine.processes.Add(8, "C:\\Program Files\\SpyCo\\spy.exe");
    machine.processes.Add(12, "C:\\Temp\\Spy Tools\\dialer.exe");

    safety.Assign({"C:\\WINDOWS\\system32\\kernel32.dll", "C:\\WINDOWS", "HKEY_LOCAL_MACHINE\\Software\\Microsoft"});
    exclusions.Assign({"C:\\Temp\\Spy Tools\\dialer.exe", "AdCo Toolbar"});
    BeginScan();
}

void FuzzMachine::WriteDefinitionFile(std::string_view file, std::string_view lines) {
    std::string stored;
    for (const std::string& line : SplitLines(lines)) {
        stored.append(EncodeDefinitionText(line)).append(kCrLf);
    }
    machine.files.WriteFile(DataFilePath(dataFolder, file), stored);
}

services::MsgResult UnattendedDialogs::MessageBox(const std::string&, const std::string&, services::MsgButtons buttons,
                                            services::MsgIcon) {
    return cli::UnattendedAnswer(buttons);
}

}  // namespace bastion::fuzz
