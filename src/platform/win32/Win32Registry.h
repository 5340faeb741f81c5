// The registry through the W functions of advapi32.
#pragma once

#include "platform/Registry.h"

namespace bastion::win32 {

class Win32Registry final : public platform::Registry {
public:
    long OpenKey(platform::Hive hive, const std::string& path, platform::RegAccess access,
                 platform::RegView view = platform::RegView::Default) override;
    long CreateKey(platform::Hive hive, const std::string& path,
                   platform::RegView view = platform::RegView::Default) override;
    long QueryValue(platform::Hive hive, const std::string& path, const std::string& name, platform::RegValue& out,
                    platform::RegView view = platform::RegView::Default) override;
    long SetValue(platform::Hive hive, const std::string& path, const std::string& name,
                  const platform::RegValue& value, platform::RegView view = platform::RegView::Default) override;
    long DeleteValue(platform::Hive hive, const std::string& path, const std::string& name,
                     platform::RegView view = platform::RegView::Default) override;
    long DeleteTree(platform::Hive hive, const std::string& path,
                    platform::RegView view = platform::RegView::Default) override;
    long EnumerateSubkeys(platform::Hive hive, const std::string& path, std::vector<std::string>& names,
                          platform::RegView view = platform::RegView::Default) override;
    long EnumerateValues(platform::Hive hive, const std::string& path, std::vector<std::string>& names,
                         platform::RegView view = platform::RegView::Default) override;
    long KeyIdentity(platform::Hive hive, const std::string& path, platform::RegView view,
                     std::string& identity) override;
};

}  // namespace bastion::win32
