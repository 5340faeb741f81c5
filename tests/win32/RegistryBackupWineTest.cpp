// Registry backups against Wine's real registry, judged by its Registry
// Editor: each deleted value or key tree, in either registry view, comes
// back byte for byte from "regedit /s" of its backup file, and from the
// program's own restore.
#include <gtest/gtest.h>

#include "WineTestSupport.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "removal/quarantine/QuarantineRestore.h"
#include "removal/registry/ModRegistryRelated.h"
#include "support/RegistryTree.h"

namespace bastion::win32 {
namespace {

using platform::Hive;
using platform::RegType;
using platform::RegValue;
using platform::RegView;
using testing::ReadRegistryTree;
using testing::WideBytes;

bool RunRegedit(const std::string& file) {
    wchar_t windows[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH + 1);
    std::wstring command = L"\"" + std::wstring(windows) + L"\\regedit.exe\" /s \"" + Widen(file) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    UniqueHandle process(info.hProcess);
    ::CloseHandle(info.hThread);
    return ::WaitForSingleObject(process.Get(), 30000) == WAIT_OBJECT_0;
}

class RegistryBackupWineTest : public ::testing::Test {
protected:
    ~RegistryBackupWineTest() override {
        for (RegView view : {RegView::Bits64, RegView::Bits32}) {
            registry.DeleteTree(Hive::CurrentUser, key, view);
            registry.DeleteTree(Hive::LocalMachine, key, view);
        }
    }

    // Values of every type, the default one, and a subkey with its own.
    void Plant(Hive hive, RegView view) {
        ASSERT_EQ(registry.CreateKey(hive, key + "\\Sub\\Deeper", view), platform::kRegOk);
        const std::pair<std::string, RegValue> values[] = {
            {"", RegValue::String("default \"quoted\" C:\\path\\")},
            {"lines", RegValue::String("one\r\ntwo\nthree")},
            {"expand", RegValue::Raw(RegType::ExpandString, WideBytes(std::u16string_view(u"%SystemRoot%\\x.dll\0", 19)))},
            {"multi", RegValue::Raw(RegType::MultiString, WideBytes(std::u16string_view(u"a\0b c\0\0", 7)))},
            {"binary", RegValue::Raw(RegType::Binary, {0, 1, 254, 255})},
            {"qword", RegValue::Raw(RegType::Qword, {1, 2, 3, 4, 5, 6, 7, 0x88})},
            {"dword", RegValue::Dword(0xDEADBEEF)},
            {"name \"with\" \\", RegValue::String("")},
        };
        for (const auto& [name, value] : values) {
            RegValue exact = value;
            exact.exactBytes = true;
            ASSERT_EQ(registry.SetValue(hive, key, name, exact, view), platform::kRegOk) << name;
        }
        ASSERT_EQ(registry.SetValue(hive, key + "\\Sub", "", RegValue::String("sub default"), view), platform::kRegOk);
    }

    std::string LastBackup() {
        const std::vector<QuarantineItem> items = quarantine.Items();
        return items.empty() ? std::string() : quarantine.Folder() + "\\" + items.back().storedName;
    }

    test::ScratchFolder scratch;
    Win32Registry registry;
    Win32FileSystem files;
    Win32Shell shell;
    Win32CodePage codePage;
    Win32Clock clock;
    Quarantine quarantine{files, codePage, clock, scratch.Path()};
    const RegistryRemoval removal{registry, quarantine};
    std::string key = "Software\\" + test::UniqueName("BastionBackup");
};

TEST_F(RegistryBackupWineTest, KeyTreesOfBothViewsComeBackFromRegeditAndFromTheRestore) {
    for (auto [hive, view] : {std::pair{Hive::CurrentUser, RegView::Bits64}, std::pair{Hive::LocalMachine, RegView::Bits32}}) {
        SCOPED_TRACE(platform::HiveName(hive));
        Plant(hive, view);
        const testing::RegistryTree before = ReadRegistryTree(registry, hive, key, view);
        ASSERT_EQ(before.size(), 12u);

        ASSERT_EQ(DeleteRegistryKey(removal, hive, key, view), RemovalResult::Removed);
        EXPECT_EQ(registry.OpenKey(hive, key, platform::RegAccess::Read, view), platform::kRegNotFound);
        ASSERT_TRUE(RunRegedit(LastBackup()));
        EXPECT_EQ(ReadRegistryTree(registry, hive, key, view), before) << "regedit /s " << LastBackup();
        if (view == RegView::Bits32) {
            EXPECT_EQ(registry.OpenKey(hive, key, platform::RegAccess::Read, RegView::Bits64), platform::kRegNotFound)
                << "the 32-bit view's key came back in the 32-bit view only";
        }

        ASSERT_EQ(DeleteRegistryKey(removal, hive, key, view), RemovalResult::Removed);
        const QuarantineItem item = quarantine.Items().back();
        // Put back in its own view, where it affects every user when it is
        // the machine's.
        const MachineWidePlaces places(files, shell, quarantine.Folder());
        const RestoreQuestions agree{{}, [](const std::string&) { return true; }};
        ASSERT_EQ(RestoreFromQuarantine(quarantine, registry, places, item, agree).result, RestoreResult::Restored);
        EXPECT_EQ(ReadRegistryTree(registry, hive, key, view), before);
    }
}

TEST_F(RegistryBackupWineTest, SingleValuesComeBackWithTheirTypeAndData) {
    Plant(Hive::CurrentUser, RegView::Bits64);
    const testing::RegistryTree before = ReadRegistryTree(registry, Hive::CurrentUser, key, RegView::Bits64);
    for (const char* name : {"", "lines", "multi", "qword", "name \"with\" \\"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(DeleteRegistryValue(removal, Hive::CurrentUser, key, name, RegView::Bits64), RemovalResult::Removed);
        EXPECT_NE(ReadRegistryTree(registry, Hive::CurrentUser, key, RegView::Bits64), before);
        ASSERT_TRUE(RunRegedit(LastBackup()));
        EXPECT_EQ(ReadRegistryTree(registry, Hive::CurrentUser, key, RegView::Bits64), before);
    }
    // A value that is not there is not deleted, and nothing is logged.
    EXPECT_EQ(DeleteRegistryValue(removal, Hive::CurrentUser, key, "absent", RegView::Bits64), RemovalResult::NotFound);
}

}  // namespace
}  // namespace bastion::win32
