#include <gtest/gtest.h>

#include "platform/Registry.h"

namespace bastion::platform {
namespace {

TEST(RegistryHelpers, HiveHandlesRoundTripAsSignedDecimalNumbers) {
    EXPECT_EQ(HiveHandleNumber(Hive::LocalMachine), -2147483646LL);
    EXPECT_EQ(HiveHandleNumber(Hive::ClassesRoot), -2147483648LL);
    EXPECT_EQ(HiveHandleNumber(Hive::DynData), -2147483642LL);
    for (Hive hive : {Hive::ClassesRoot, Hive::CurrentUser, Hive::LocalMachine, Hive::Users, Hive::CurrentConfig,
                      Hive::DynData}) {
        Hive back = Hive::ClassesRoot;
        ASSERT_TRUE(HiveFromHandleNumber(HiveHandleNumber(hive), back)) << HiveName(hive);
        EXPECT_EQ(back, hive);
    }
}

TEST(RegistryHelpers, RejectsNumbersThatAreNoneOfTheSixHives) {
    Hive hive = Hive::Users;
    EXPECT_FALSE(HiveFromHandleNumber(2147483650LL, hive));   // unsigned form of HKEY_LOCAL_MACHINE
    EXPECT_FALSE(HiveFromHandleNumber(-2147483644LL, hive));  // HKEY_PERFORMANCE_DATA
    EXPECT_FALSE(HiveFromHandleNumber(0, hive));
    EXPECT_EQ(hive, Hive::Users);
}

TEST(RegistryHelpers, HiveNames) {
    EXPECT_STREQ(HiveName(Hive::ClassesRoot), "HKEY_CLASSES_ROOT");
    EXPECT_STREQ(HiveName(Hive::CurrentUser), "HKEY_CURRENT_USER");
    EXPECT_STREQ(HiveName(Hive::LocalMachine), "HKEY_LOCAL_MACHINE");
    EXPECT_STREQ(HiveName(Hive::Users), "HKEY_USERS");
    EXPECT_STREQ(HiveName(Hive::CurrentConfig), "HKEY_CURRENT_CONFIG");
    EXPECT_STREQ(HiveName(Hive::DynData), "HKEY_DYN_DATA");
    EXPECT_STREQ(HiveName(static_cast<Hive>(0x80000004u)), "");
}

TEST(RegistryHelpers, ValuesCarryTheBytesTheSystemStores) {
    RegValue text = RegValue::String("Caf\xC3\xA9");  // "Café"
    EXPECT_EQ(text.type, RegType::String);
    EXPECT_EQ(text.text, "Caf\xC3\xA9");
    EXPECT_EQ(text.bytes, (std::vector<std::uint8_t>{'C', 0, 'a', 0, 'f', 0, 0xE9, 0, 0, 0}));

    RegValue number = RegValue::Dword(0x01020304u);
    EXPECT_EQ(number.type, RegType::Dword);
    EXPECT_EQ(number.number, 0x01020304u);
    EXPECT_EQ(number.bytes, (std::vector<std::uint8_t>{4, 3, 2, 1}));
}

}  // namespace
}  // namespace bastion::platform
