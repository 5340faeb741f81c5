// The registry through the W functions of advapi32.
#pragma once

#include "platform/Registry.h"

namespace bastion::win32 {

class Win32Registry final : public platform::Registry {
public:
    long OpenKey(platform::Hive hive, const std::string& path, platform::RegAccess access) override;
    long CreateKey(platform::Hive hive, const std::string& path) override;
    long QueryValue(platform::Hive hive, const std::string& path, const std::string& name,
                    platform::RegValue& out) override;
    long SetValue(platform::Hive hive, const std::string& path, const std::string& name,
                  const platform::RegValue& value) override;
    long DeleteValue(platform::Hive hive, const std::string& path, const std::string& name) override;
    long DeleteTree(platform::Hive hive, const std::string& path) override;
    long EnumerateSubkeys(platform::Hive hive, const std::string& path, std::vector<std::string>& names) override;
    long EnumerateValues(platform::Hive hive, const std::string& path, std::vector<std::string>& names) override;
};

}  // namespace bastion::win32
