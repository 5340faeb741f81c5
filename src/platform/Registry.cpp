#include "platform/Registry.h"

#include "common/Utf.h"

namespace bastion::platform {

RegValue RegValue::String(std::string text) {
    RegValue value;
    value.type = RegType::String;
    // The stored data is UTF-16 little-endian with its terminating NUL, as
    // the system writes a REG_SZ value.
    for (char16_t unit : Utf8ToUtf16(text)) {
        value.bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        value.bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    value.bytes.push_back(0);
    value.bytes.push_back(0);
    value.text = std::move(text);
    return value;
}

RegValue RegValue::Dword(std::uint32_t number) {
    RegValue value;
    value.type = RegType::Dword;
    value.number = number;
    for (int shift = 0; shift < 32; shift += 8) {
        value.bytes.push_back(static_cast<std::uint8_t>((number >> shift) & 0xFF));
    }
    return value;
}

RegValue RegValue::Raw(RegType type, std::vector<std::uint8_t> bytes) {
    RegValue value;
    value.type = type;
    value.exactBytes = true;
    switch (type) {
    case RegType::String:
    case RegType::ExpandString:
    case RegType::MultiString: {
        std::u16string units;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            units.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        }
        while (!units.empty() && units.back() == u'\0') units.pop_back();
        value.text = Utf16ToUtf8(units);
        break;
    }
    case RegType::Dword:
    case RegType::Qword: {
        const std::size_t count = type == RegType::Dword ? 4 : 8;
        for (std::size_t i = 0; i < count && i < bytes.size(); ++i) {
            value.number |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
        }
        break;
    }
    default:
        break;
    }
    value.bytes = std::move(bytes);
    return value;
}

long long HiveHandleNumber(Hive hive) {
    // The handle is a 32-bit value with the high bit set; the queue keeps it
    // as the signed number a 32-bit handle variable holds.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(hive));
}

const char* HiveName(Hive hive) {
    switch (hive) {
    case Hive::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case Hive::CurrentUser: return "HKEY_CURRENT_USER";
    case Hive::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case Hive::Users: return "HKEY_USERS";
    case Hive::CurrentConfig: return "HKEY_CURRENT_CONFIG";
    case Hive::DynData: return "HKEY_DYN_DATA";
    }
    return "";
}

bool HiveFromHandleNumber(long long number, Hive& hive) {
    static constexpr Hive kHives[] = {Hive::ClassesRoot, Hive::CurrentUser, Hive::LocalMachine,
                                      Hive::Users,       Hive::CurrentConfig, Hive::DynData};
    for (Hive candidate : kHives) {
        if (HiveHandleNumber(candidate) == number) {
            hive = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace bastion::platform
