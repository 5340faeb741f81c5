// Registry backups: the file the Registry Editor imports, read back by the
// program's own restore, and the class registrations of a COM server found
// and removed without loading it.
#include <gtest/gtest.h>

#include "common/Utf.h"
#include "removal/registry/RegFile.h"
#include "removal/registry/ModRegsvr32.h"
#include "support/FakeRegistry.h"
#include "support/RegistryTree.h"
#include "support/FakeSystemInfo.h"
#include "support/FakeFileSystem.h"
#include "support/FakeClock.h"
#include "support/ScriptedEventPump.h"

namespace bastion {
namespace {

using platform::Hive;
using platform::RegType;
using platform::RegValue;
using platform::RegView;

std::string Utf8Of(const std::string& utf16WithBom) {
    std::u16string units;
    for (std::size_t i = 2; i + 1 < utf16WithBom.size(); i += 2) {
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(utf16WithBom[i]) |
                                              (static_cast<unsigned char>(utf16WithBom[i + 1]) << 8)));
    }
    return Utf16ToUtf8(units);
}

TEST(RegistryBackup, EveryTypeIsWrittenInTheEditorsFormAndReadBackByteForByte) {
    struct Case {
        const char* name;
        RegValue value;
        const char* line;
    };
    const Case cases[] = {
        {"", RegValue::String("C:\\spy \"x\".exe"), "@=\"C:\\\\spy \\\"x\\\".exe\""},
        {"n\"q\\", RegValue::Dword(0x2a), "\"n\\\"q\\\\\"=dword:0000002a"},
        {"lines", RegValue::String("a\r\nb"), "\"lines\"=hex(1):61,00,0d,00,0a,00,62,00,00,00"},
        {"no nul", RegValue::Raw(RegType::String, testing::WideBytes(u"ab")), "\"no nul\"=hex(1):61,00,62,00"},
        {"expand", RegValue::Raw(RegType::ExpandString, testing::WideBytes({u"%W%\0", 4})), "\"expand\"=hex(2):25,00,57,00,25,00,00,00"},
        {"multi", RegValue::Raw(RegType::MultiString, testing::WideBytes({u"a\0b\0\0", 5})),
         "\"multi\"=hex(7):61,00,00,00,62,00,00,00,00,00"},
        {"bin", RegValue::Raw(RegType::Binary, {0, 255}), "\"bin\"=hex:00,ff"},
        {"q", RegValue::Raw(RegType::Qword, {1, 0, 0, 0, 0, 0, 0, 0x80}), "\"q\"=hex(b):01,00,00,00,00,00,00,80"},
        {"none", RegValue::Raw(RegType::None, {}), "\"none\"=hex(0):"},
    };
    RegistrySnapshot snapshot;
    snapshot.hive = Hive::LocalMachine;
    snapshot.keys.push_back({"Software\\Wow6432Node\\Spy", {}});
    snapshot.keys.push_back({"Software\\Wow6432Node\\Spy\\Empty", {}});
    for (const Case& each : cases) snapshot.keys[0].values.push_back({each.name, each.value});

    const std::optional<std::string> file = FormatRegFile(snapshot);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->substr(0, 2), "\xFF\xFE");
    std::string expected = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Spy]\r\n";
    for (const Case& each : cases) expected += std::string(each.line) + "\r\n";
    expected += "\r\n[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Spy\\Empty]\r\n\r\n";
    EXPECT_EQ(Utf8Of(*file), expected);

    const std::optional<RegistrySnapshot> read = ParseRegFile(*file);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->hive, Hive::LocalMachine);
    ASSERT_EQ(read->keys.size(), 2u);
    ASSERT_EQ(read->keys[0].values.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(read->keys[0].values[i].name, cases[i].name);
        EXPECT_EQ(read->keys[0].values[i].value.type, cases[i].value.type) << cases[i].name;
        EXPECT_EQ(read->keys[0].values[i].value.bytes, cases[i].value.bytes) << cases[i].name;
    }
    // A value name with a line break has no written form: no backup, so no
    // deletion.
    snapshot.keys[0].values.push_back({"a\nb", RegValue::Dword(1)});
    EXPECT_FALSE(FormatRegFile(snapshot));
    EXPECT_FALSE(ParseRegFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\x]\r\n"));
}

TEST(RegistryBackup, ComServerRegistrationsThatNameTheFileGoInBothViewsBackedUp) {
    testing::FakeSystemInfo system;
    const std::string dll = "C:\\WINDOWS\\spy.dll";
    struct Case {
        const char* value;
        bool names;
    };
    for (const Case& each : {Case{"C:\\WINDOWS\\spy.dll", true}, Case{"%SystemRoot%\\SPY.DLL", true},
                             Case{"\"C:\\WINDOWS\\spy.dll\" -Embedding", true}, Case{"C:\\WINDOWS\\spy.dll /x", true},
                             Case{"C:\\WINDOWS\\spy.dll2", false}, Case{"\"C:\\WINDOWS\\spy.dl\"", false}}) {
        EXPECT_EQ(ServerValueNamesFile(system, each.value, dll), each.names) << each.value;
    }

    testing::FakeRegistry registry;
    testing::FakeFileSystem files;
    testing::FakeClock clock;
    testing::ScriptedEventPump pump;
    Quarantine quarantine(files, Windows1252(), clock, "C:\\Data");
    const std::string classes = "Software\\Classes\\CLSID\\";
    registry.SetString(Hive::CurrentUser, classes + "{1}\\InprocServer32", "", "%SystemRoot%\\spy.dll");
    registry.SetString(Hive::LocalMachine, "Software\\Classes\\Wow6432Node\\CLSID\\{2}\\LocalServer32", "",
                       "\"C:\\WINDOWS\\spy.dll\"");
    registry.SetString(Hive::LocalMachine, classes + "{3}\\InprocServer32", "", "C:\\WINDOWS\\other.dll");

    const ComRegistrationsResult result = UnregisterComServer({registry, quarantine}, system, pump, dll);
    EXPECT_EQ(result.removed, 2);
    EXPECT_FALSE(registry.HasKey(Hive::CurrentUser, classes + "{1}"));
    EXPECT_FALSE(registry.HasKey(Hive::LocalMachine, "Software\\Classes\\Wow6432Node\\CLSID\\{2}"));
    EXPECT_TRUE(registry.HasKey(Hive::LocalMachine, classes + "{3}"));
    ASSERT_EQ(quarantine.Items().size(), 2u);
    EXPECT_EQ(quarantine.Items()[1].originalLocation,
              "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{2} (32-bit view)");
}

}  // namespace
}  // namespace bastion
