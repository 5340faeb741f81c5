// What a removal never takes and what a restore never accepts, as tables:
// the registry keys a definition cannot take whole, and the index records
// and registry backups a restore refuses.
#include <gtest/gtest.h>

#include "removal/quarantine/RecordCheck.h"
#include "removal/registry/KeyGuard.h"
#include "removal/registry/WindowsSettings.h"
#include "support/FakeRegistry.h"

namespace bastion {
namespace {

using platform::Hive;

TEST(RemovalGuards, KeysThatStartWindowsSigningInOrProgramsAreNeverTakenWhole) {
    const struct {
        Hive hive;
        std::string key;
        bool guarded;
    } cases[] = {
        {Hive::ClassesRoot, "exefile", true},
        {Hive::ClassesRoot, "exefile\\shell\\open\\command", true},
        {Hive::ClassesRoot, ".exe", true},
        {Hive::ClassesRoot, "lnkfile", true},
        {Hive::ClassesRoot, "regfile\\shell", true},
        {Hive::ClassesRoot, "piffile", true},
        {Hive::ClassesRoot, "CLSID", true},
        {Hive::ClassesRoot, "CLSID\\{0000AAAA-0000-0000-0000-000000000000}", false},
        {Hive::ClassesRoot, "SpyToolbar.Helper", false},
        {Hive::LocalMachine, "Software\\Classes\\batfile\\shell\\open", true},
        {Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Services", true},
        {Hive::LocalMachine, "SYSTEM\\ControlSet001\\Services", true},
        {Hive::LocalMachine, "SYSTEM\\CurrentControlSet", true},
        {Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\SpyService", false},
        {Hive::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", true},
        {Hive::LocalMachine, "Software\\Microsoft\\Windows NT", true},
        {Hive::LocalMachine, "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", true},
        {Hive::LocalMachine, "Software\\SpyCo", false},
        {Hive::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", true},
        {Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", true},
        {Hive::LocalMachine, "SYSTEM\\ControlSet002\\Control\\Session Manager\\", true},
        {Hive::LocalMachine, "Software\\Wow6432Node\\Classes", true},
        {Hive::LocalMachine, "Software\\Wow6432Node\\Classes\\CLSID", true},
        {Hive::LocalMachine, "Software\\Classes\\Wow6432Node", true},
        {Hive::LocalMachine, "Software\\Wow6432Node\\Classes\\SpyToolbar.Helper", false},
        {Hive::CurrentUser, "Software\\Classes\\Wow6432Node", true},
        {Hive::CurrentUser, "Software", true},
        {Hive::CurrentUser, "software\\microsoft\\windows\\currentversion\\run\\", true},
        {Hive::CurrentUser, "Software\\Classes\\cmdfile", true},
        {Hive::CurrentUser, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", true},
        {Hive::CurrentUser, "Software\\Microsoft\\Internet Explorer\\Toolbar", false},
        {Hive::Users, "S-1-5-21-1-2-3-1001", true},
        {Hive::Users, "S-1-5-21-1-2-3-1001\\Software", true},
        {Hive::Users, "S-1-5-21-1-2-3-1001\\Software\\SpyCo", false},
        {Hive::Users, "S-1-5-21-1-2-3-1001_Classes\\comfile", true},
        // Paths the registry would not read as one key are refused.
        {Hive::CurrentUser, "Software\\\\Microsoft", true},
        {Hive::CurrentUser, "\\Software\\SpyCo", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsGuardedRegistryKey(c.hive, c.key), c.guarded) << c.key;
}

TEST(RemovalGuards, TheServicesWindowsNeedsToStartAreNeverTaken) {
    testing::FakeRegistry registry;
    const std::string services = "SYSTEM\\CurrentControlSet\\Services\\";
    registry.Set(Hive::LocalMachine, services + "SpyDriver", "Start", platform::RegValue::Dword(1));
    registry.Set(Hive::LocalMachine, services + "BootSpy", "Start", platform::RegValue::Dword(0));
    registry.Set(Hive::LocalMachine, services + "SpyService", "Start", platform::RegValue::Dword(2));
    registry.Set(Hive::LocalMachine, services + "OddStart", "Start", platform::RegValue::String("0"));
    const struct {
        Hive hive;
        std::string key;
        bool needed;
    } cases[] = {
        {Hive::LocalMachine, services + "RpcSs", true},
        {Hive::LocalMachine, services + "rpcss\\Parameters", true},
        {Hive::LocalMachine, "SYSTEM\\ControlSet002\\Services\\Dhcp\\", true},
        {Hive::LocalMachine, services + "EventLog", true},
        {Hive::LocalMachine, services + "SpyDriver", true},
        {Hive::LocalMachine, services + "BootSpy\\Enum", true},
        {Hive::LocalMachine, services + "SpyService", false},
        {Hive::LocalMachine, services + "OddStart", false},
        {Hive::LocalMachine, services + "Gone", false},
        {Hive::LocalMachine, "Software\\RpcSs", false},
        {Hive::CurrentUser, services + "RpcSs", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsServiceWindowsNeeds(registry, c.hive, c.key, platform::RegView::Default), c.needed) << c.key;
    }
}

TEST(RemovalGuards, ARestoreAcceptsOnlyRecordsTheQuarantineWrites) {
    const struct {
        QuarantineKind kind;
        std::string storedName;
        std::string location;
        bool accepted;
    } cases[] = {
        {QuarantineKind::File, "7_spy.exe", "C:\\A\\spy.exe", true},
        {QuarantineKind::File, "7_evil.exe", "C:\\A\\evil.exe ", true},
        {QuarantineKind::FolderLink, "7_Link.link", "C:\\A\\Link", true},
        {QuarantineKind::RegistryValue, "7_Run.reg", "HKEY_CURRENT_USER\\Software\\X\\Run", true},
        {QuarantineKind::Folder, "7_..\\..\\..\\..\\Documents", "C:\\Users\\me\\Documents", false},
        {QuarantineKind::File, "8_spy.exe", "C:\\A\\spy.exe", false},     // another record's id
        {QuarantineKind::File, "7_spy.exe", "C:\\A\\other.exe", false},   // another name
        {QuarantineKind::File, "7_spy.exe", "C:\\A\\..\\spy.exe", false},
        {QuarantineKind::File, "7_spy.exe", "C:\\A\\.\\spy.exe", false},
        {QuarantineKind::File, "7_spy.exe", "C:\\A\\. .\\spy.exe", false},
        {QuarantineKind::Folder, "7_entry", "C:\\A\\...", false},
        {QuarantineKind::File, "7_spy.exe", "\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\spy.exe", false},
        {QuarantineKind::File, "7_spy.exe", "\\\\.\\C:\\spy.exe", false},
        {QuarantineKind::File, "7_spy.exe", "\\\\server\\share\\spy.exe", false},
        {QuarantineKind::File, "7_spy.exe", "A\\spy.exe", false},
        {QuarantineKind::File, "7_spy.exe", "C:A\\spy.exe", false},
        {QuarantineKind::File, "7_spy.exe", "C:/A/spy.exe", false},
        {QuarantineKind::File, "7_spy.exe", "C:\\A\\\\spy.exe", false},
        {QuarantineKind::File, "7_spy.exe", "C:\\A\\x.txt:spy.exe", false},
        {QuarantineKind::File, "7_nul.txt", "C:\\A\\nul.txt", false},
        {QuarantineKind::File, "7_COM1", "C:\\A\\COM1", false},
        {QuarantineKind::RegistryKey, "7_Key", "HKEY_CURRENT_USER\\Software\\Key", false},  // no backup
    };
    for (const auto& c : cases) {
        const QuarantineItem item{7, "3/16/2006", c.kind, c.storedName, c.location};
        EXPECT_EQ(IsRecordTheQuarantineWrites(item), c.accepted) << c.storedName << " " << c.location;
    }
}

TEST(RemovalGuards, ABackupIsWrittenBackOnlyAtItsOwnLocationInItsOwnView) {
    const auto backup = [](Hive hive, std::vector<std::string> keys, std::string value = "") {
        RegistrySnapshot snapshot;
        snapshot.hive = hive;
        for (std::string& key : keys) snapshot.keys.push_back({std::move(key), {}});
        if (!value.empty()) snapshot.keys.back().values.push_back({value, platform::RegValue::String("x")});
        return snapshot;
    };
    const std::string toolbar = "HKEY_CURRENT_USER\\Software\\Toolbar";
    const struct {
        QuarantineKind kind;
        std::string location;
        RegistrySnapshot backup;
        std::vector<std::string> placed;  // empty: refused
    } cases[] = {
        {QuarantineKind::RegistryKey, toolbar, backup(Hive::CurrentUser, {"Software\\Toolbar", "Software\\Toolbar\\Sub"}),
         {"Software\\Toolbar", "Software\\Toolbar\\Sub"}},
        {QuarantineKind::RegistryKey, toolbar,
         backup(Hive::CurrentUser, {"Software\\Toolbar", "Software\\Microsoft\\Windows\\CurrentVersion\\Run"}), {}},
        {QuarantineKind::RegistryKey, toolbar, backup(Hive::LocalMachine, {"Software\\Toolbar"}), {}},
        {QuarantineKind::RegistryKey, toolbar, backup(Hive::CurrentUser, {"Software\\ToolbarX"}), {}},
        // A key of the 32-bit view comes back in that view, named as it
        // names it.
        {QuarantineKind::RegistryKey, "HKEY_LOCAL_MACHINE\\Software\\Spy (32-bit view)",
         backup(Hive::LocalMachine, {"Software\\Wow6432Node\\Spy", "Software\\Wow6432Node\\Spy\\Sub"}),
         {"Software\\Spy", "Software\\Spy\\Sub"}},
        {QuarantineKind::RegistryKey, "HKEY_LOCAL_MACHINE\\Software\\Spy",
         backup(Hive::LocalMachine, {"Software\\Wow6432Node\\Spy"}), {}},
        {QuarantineKind::RegistryValue, toolbar + "\\Run", backup(Hive::CurrentUser, {"Software\\Toolbar"}, "Run"),
         {"Software\\Toolbar"}},
        {QuarantineKind::RegistryValue, toolbar + "\\Run", backup(Hive::CurrentUser, {"Software\\Toolbar"}, "Other"),
         {}},
        {QuarantineKind::RegistryValue, toolbar + "\\Run",
         backup(Hive::CurrentUser, {"Software\\Toolbar", "Software\\Toolbar\\Sub"}, "Run"), {}},
    };
    for (const auto& c : cases) {
        const QuarantineItem item{7, "3/16/2006", c.kind, "7_x.reg", c.location};
        std::optional<RegistrySnapshot> placed = SnapshotInPlace(c.backup, item);
        std::vector<std::string> paths;
        for (const SnapshotKey& key : placed ? placed->keys : std::vector<SnapshotKey>{}) paths.push_back(key.path);
        EXPECT_EQ(paths, c.placed) << c.location;
    }
}

}  // namespace
}  // namespace bastion
