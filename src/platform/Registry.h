// The Windows registry: the six predefined hives by handle, keys and values.
// Names and string data are UTF-8 at this interface. Every call returns the
// system error code (0 on success, kRegNotFound when the key or value does
// not exist, kRegAccessDenied when the access asked for is not granted).
//
// On 64-bit Windows, HKEY_LOCAL_MACHINE\Software and the classes keys look
// different to 32-bit and 64-bit programs: each call names the view it
// works in. Most keys (and every key on 32-bit Windows) are the same in
// both views; KeyIdentity tells them apart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bastion::platform {

// The predefined key handles, with the values the registry queue stores as
// signed decimal numbers (HKEY_LOCAL_MACHINE is -2147483646).
enum class Hive : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    CurrentConfig = 0x80000005u,
    DynData = 0x80000006u,
};

inline constexpr long kRegOk = 0;
inline constexpr long kRegNotFound = 2;       // ERROR_FILE_NOT_FOUND
inline constexpr long kRegAccessDenied = 5;   // ERROR_ACCESS_DENIED
inline constexpr long kRegMoreData = 234;     // ERROR_MORE_DATA

enum class RegAccess {
    Read,       // KEY_READ: what existence tests and readers need
    ReadWrite,  // KEY_READ | KEY_WRITE
    All,        // KEY_ALL_ACCESS
};

// Registry value types (REG_SZ = 1 and so on).
enum class RegType : std::uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    Dword = 4,
    MultiString = 7,
    Qword = 11,
};

// Which registry view a call sees: the program's own (a 64-bit program sees
// the 64-bit one), or a chosen one (KEY_WOW64_64KEY, KEY_WOW64_32KEY).
enum class RegView {
    Default,
    Bits64,
    Bits32,
};

struct RegValue {
    RegType type = RegType::None;
    // String, ExpandString: the text without its terminating NUL (a value
    // stored without one is returned whole). MultiString: the strings joined
    // by NUL characters. Other types: empty.
    std::string text;
    // Dword and Qword values.
    std::uint64_t number = 0;
    // The raw data as stored (UTF-16 for the string types).
    std::vector<std::uint8_t> bytes;

    // Written as the bytes stand, whatever the type: a value put back as it
    // was read, down to a string stored without its NUL.
    bool exactBytes = false;

    static RegValue String(std::string text);
    static RegValue Dword(std::uint32_t value);
    // The value as stored: type and raw data, with the text or number read
    // from them as the system would return it.
    static RegValue Raw(RegType type, std::vector<std::uint8_t> bytes);
};

class Registry {
public:
    virtual ~Registry() = default;

    // Opens the key with the given access and closes it again: the
    // existence and permission test.
    virtual long OpenKey(Hive hive, const std::string& path, RegAccess access, RegView view = RegView::Default) = 0;
    // Creates the key and every missing key above it (an existing key is no
    // error).
    virtual long CreateKey(Hive hive, const std::string& path, RegView view = RegView::Default) = 0;
    // Reads a value; the empty name reads the key's default value.
    virtual long QueryValue(Hive hive, const std::string& path, const std::string& name, RegValue& out,
                            RegView view = RegView::Default) = 0;
    virtual long SetValue(Hive hive, const std::string& path, const std::string& name, const RegValue& value,
                          RegView view = RegView::Default) = 0;
    virtual long DeleteValue(Hive hive, const std::string& path, const std::string& name,
                             RegView view = RegView::Default) = 0;
    // Deletes the key with all its subkeys and values.
    virtual long DeleteTree(Hive hive, const std::string& path, RegView view = RegView::Default) = 0;
    virtual long EnumerateSubkeys(Hive hive, const std::string& path, std::vector<std::string>& names,
                                  RegView view = RegView::Default) = 0;
    virtual long EnumerateValues(Hive hive, const std::string& path, std::vector<std::string>& names,
                                 RegView view = RegView::Default) = 0;
    // The system's own name of the key the path reaches in the view
    // ("\REGISTRY\MACHINE\SOFTWARE\WOW6432Node\SpyCo"): equal texts mean one
    // key, which both views share when their names agree.
    virtual long KeyIdentity(Hive hive, const std::string& path, RegView view, std::string& identity) = 0;
};

// Hive handle as the signed decimal number the registry queue stores.
long long HiveHandleNumber(Hive hive);
// The hive's name ("HKEY_LOCAL_MACHINE"), empty for an unknown handle.
const char* HiveName(Hive hive);
// The hive whose handle the signed decimal number is, false when none.
bool HiveFromHandleNumber(long long number, Hive& hive);

}  // namespace bastion::platform
