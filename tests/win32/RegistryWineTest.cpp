// The registry facility against Wine's real registry, in a scratch key
// under HKEY_CURRENT_USER that each test removes again.
#include <gtest/gtest.h>

#include <algorithm>

#include "WineTestSupport.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Registry.h"

namespace bastion::win32 {
namespace {

using platform::Hive;
using platform::RegAccess;
using platform::RegType;
using platform::RegValue;

class RegistryWineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(platform::kRegOk, registry.CreateKey(Hive::CurrentUser, key)); }
    void TearDown() override { registry.DeleteTree(Hive::CurrentUser, key); }

    Win32Registry registry;
    std::string key = "Software\\BastionWineTests\\" + test::UniqueName("run");
};

TEST_F(RegistryWineTest, StringDwordAndDefaultValuesRoundTrip) {
    ASSERT_EQ(platform::kRegOk, registry.SetValue(Hive::CurrentUser, key, "Text", RegValue::String("Grüße, 世界")));
    ASSERT_EQ(platform::kRegOk, registry.SetValue(Hive::CurrentUser, key, "Number", RegValue::Dword(0xFEDCBA98u)));
    ASSERT_EQ(platform::kRegOk, registry.SetValue(Hive::CurrentUser, key, "", RegValue::String("default")));

    RegValue value;
    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::CurrentUser, key, "Text", value));
    EXPECT_EQ(RegType::String, value.type);
    EXPECT_EQ("Grüße, 世界", value.text);
    // Stored as UTF-16 with its terminating NUL: 9 characters + NUL.
    EXPECT_EQ(20u, value.bytes.size());

    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::CurrentUser, key, "Number", value));
    EXPECT_EQ(RegType::Dword, value.type);
    EXPECT_EQ(0xFEDCBA98u, value.number);

    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::CurrentUser, key, "", value));
    EXPECT_EQ("default", value.text);

    EXPECT_EQ(platform::kRegNotFound, registry.QueryValue(Hive::CurrentUser, key, "Absent", value));
    EXPECT_EQ(platform::kRegNotFound, registry.QueryValue(Hive::CurrentUser, key + "\\Absent", "Text", value));

    ASSERT_EQ(platform::kRegOk, registry.DeleteValue(Hive::CurrentUser, key, "Text"));
    EXPECT_EQ(platform::kRegNotFound, registry.QueryValue(Hive::CurrentUser, key, "Text", value));
}

TEST_F(RegistryWineTest, StringsWrittenByOtherProgramsReadAsTheirText) {
    // Other programs store strings without the terminating NUL, or as
    // expandable or multi-strings; each must read back as its text.
    UniqueRegKey raw;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, KEY_SET_VALUE, raw.Receive()));
    const wchar_t noNul[] = {L'a', L'b', L'c'};
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(raw.Get(), L"NoNul", 0, REG_SZ, reinterpret_cast<const BYTE*>(noNul),
                                              sizeof(noNul)));
    const wchar_t expand[] = L"%SystemRoot%\\x";
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(raw.Get(), L"Expand", 0, REG_EXPAND_SZ,
                                              reinterpret_cast<const BYTE*>(expand), sizeof(expand)));
    const wchar_t multi[] = L"one\0two\0";
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(raw.Get(), L"Multi", 0, REG_MULTI_SZ,
                                              reinterpret_cast<const BYTE*>(multi), sizeof(multi)));
    const unsigned char binary[] = {0, 1, 0xFF};
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(raw.Get(), L"Binary", 0, REG_BINARY, binary, sizeof(binary)));

    RegValue value;
    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::CurrentUser, key, "NoNul", value));
    EXPECT_EQ("abc", value.text);
    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::CurrentUser, key, "Expand", value));
    EXPECT_EQ(RegType::ExpandString, value.type);
    EXPECT_EQ("%SystemRoot%\\x", value.text);  // not expanded
    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::CurrentUser, key, "Multi", value));
    EXPECT_EQ(std::string("one\0two", 7), value.text);
    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::CurrentUser, key, "Binary", value));
    EXPECT_EQ(RegType::Binary, value.type);
    EXPECT_EQ((std::vector<std::uint8_t>{0, 1, 0xFF}), value.bytes);
}

TEST_F(RegistryWineTest, EnumeratesAndDeletesWholeTrees) {
    ASSERT_EQ(platform::kRegOk, registry.CreateKey(Hive::CurrentUser, key + "\\Alpha\\Deep\\Deeper"));
    ASSERT_EQ(platform::kRegOk, registry.CreateKey(Hive::CurrentUser, key + "\\Beta"));
    ASSERT_EQ(platform::kRegOk, registry.CreateKey(Hive::CurrentUser, key + "\\Beta"));  // existing: no error
    ASSERT_EQ(platform::kRegOk, registry.SetValue(Hive::CurrentUser, key + "\\Alpha\\Deep", "v", RegValue::Dword(1)));
    ASSERT_EQ(platform::kRegOk, registry.SetValue(Hive::CurrentUser, key, "First", RegValue::Dword(1)));
    ASSERT_EQ(platform::kRegOk, registry.SetValue(Hive::CurrentUser, key, "Second", RegValue::String("x")));

    std::vector<std::string> names{"stale"};
    ASSERT_EQ(platform::kRegOk, registry.EnumerateSubkeys(Hive::CurrentUser, key, names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta"}), names);
    ASSERT_EQ(platform::kRegOk, registry.EnumerateValues(Hive::CurrentUser, key, names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"First", "Second"}), names);
    EXPECT_EQ(platform::kRegNotFound, registry.EnumerateSubkeys(Hive::CurrentUser, key + "\\Gamma", names));

    ASSERT_EQ(platform::kRegOk, registry.DeleteTree(Hive::CurrentUser, key + "\\Alpha"));
    EXPECT_EQ(platform::kRegNotFound, registry.OpenKey(Hive::CurrentUser, key + "\\Alpha", RegAccess::Read));
    EXPECT_EQ(platform::kRegOk, registry.OpenKey(Hive::CurrentUser, key + "\\Beta", RegAccess::All));
}

TEST_F(RegistryWineTest, RefusesToDeleteAWholeHive) {
    EXPECT_NE(platform::kRegOk, registry.DeleteTree(Hive::CurrentUser, ""));
    EXPECT_NE(platform::kRegOk, registry.DeleteTree(Hive::CurrentUser, "\\"));
    EXPECT_EQ(platform::kRegOk, registry.OpenKey(Hive::CurrentUser, key, RegAccess::Read));
}

TEST_F(RegistryWineTest, OpensMachineKeysForReading) {
    // The predefined handles are sign-extended 32-bit values; a wrong
    // conversion would make every machine key "absent".
    EXPECT_EQ(platform::kRegOk,
              registry.OpenKey(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", RegAccess::Read));
    EXPECT_EQ(platform::kRegNotFound,
              registry.OpenKey(Hive::LocalMachine, "SOFTWARE\\BastionDoesNotExist", RegAccess::Read));
    RegValue value;
    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                                    "CurrentVersion", value));
    EXPECT_FALSE(value.text.empty());
}

TEST(RegistryViewsWineTest, MachineSoftwareHasTwoViewsThatKeyIdentitiesTellApart) {
    using platform::RegView;
    Win32Registry registry;
    const std::string key = "Software\\" + test::UniqueName("BastionViews");
    for (auto [view, text] : {std::pair{RegView::Bits64, "64"}, std::pair{RegView::Bits32, "32"}}) {
        ASSERT_EQ(platform::kRegOk, registry.CreateKey(Hive::LocalMachine, key, view));
        ASSERT_EQ(platform::kRegOk, registry.SetValue(Hive::LocalMachine, key, "View", RegValue::String(text), view));
    }
    RegValue value;
    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::LocalMachine, key, "View", value, RegView::Bits32));
    EXPECT_EQ("32", value.text);
    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::LocalMachine, key, "View", value));
    EXPECT_EQ("64", value.text) << "a 64-bit program's own view";

    std::string own;
    std::string thirtyTwoBit;
    ASSERT_EQ(platform::kRegOk, registry.KeyIdentity(Hive::LocalMachine, key, RegView::Bits64, own));
    ASSERT_EQ(platform::kRegOk, registry.KeyIdentity(Hive::LocalMachine, key, RegView::Bits32, thirtyTwoBit));
    EXPECT_NE(own, thirtyTwoBit);
    // The user's software is one key in both views.
    ASSERT_EQ(platform::kRegOk, registry.KeyIdentity(Hive::CurrentUser, "Software", RegView::Bits64, own));
    ASSERT_EQ(platform::kRegOk, registry.KeyIdentity(Hive::CurrentUser, "Software", RegView::Bits32, thirtyTwoBit));
    EXPECT_EQ(own, thirtyTwoBit);

    // Deleting in one view leaves the other's key.
    ASSERT_EQ(platform::kRegOk, registry.DeleteTree(Hive::LocalMachine, key, RegView::Bits32));
    EXPECT_EQ(platform::kRegNotFound, registry.OpenKey(Hive::LocalMachine, key, RegAccess::Read, RegView::Bits32));
    EXPECT_EQ(platform::kRegOk, registry.OpenKey(Hive::LocalMachine, key, RegAccess::Read, RegView::Bits64));
    EXPECT_EQ(platform::kRegOk, registry.DeleteTree(Hive::LocalMachine, key, RegView::Bits64));
}

}  // namespace
}  // namespace bastion::win32
