#include "platform/Registry.h"

#include <cstdint>
#include <utility>

namespace bastion::platform {

RegValue RegValue::String(std::string text) {
    RegValue value;
    value.type = RegType::String;
    value.text = std::move(text);
    return value;
}

RegValue RegValue::Dword(std::uint32_t number) {
    RegValue value;
    value.type = RegType::Dword;
    value.number = number;
    return value;
}

namespace {

struct HiveRow {
    Hive hive;
    const char* name;
};

constexpr HiveRow kHives[] = {
    {Hive::ClassesRoot, "HKEY_CLASSES_ROOT"},   {Hive::CurrentUser, "HKEY_CURRENT_USER"},
    {Hive::LocalMachine, "HKEY_LOCAL_MACHINE"}, {Hive::Users, "HKEY_USERS"},
    {Hive::CurrentConfig, "HKEY_CURRENT_CONFIG"}, {Hive::DynData, "HKEY_DYN_DATA"},
};

}  // namespace

long long HiveHandleNumber(Hive hive) {
    // The handles are 32-bit values with the top bit set, read as signed.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(hive));
}

const char* HiveName(Hive hive) {
    for (const HiveRow& row : kHives) {
        if (row.hive == hive) {
            return row.name;
        }
    }
    return "";
}

bool HiveFromHandleNumber(long long number, Hive& hive) {
    for (const HiveRow& row : kHives) {
        if (HiveHandleNumber(row.hive) == number) {
            hive = row.hive;
            return true;
        }
    }
    return false;
}

}  // namespace bastion::platform
