// One uncached HTTP GET through WinINet.
#pragma once

#include "platform/Internet.h"

namespace bastion::win32 {

class Win32Internet final : public platform::Internet {
public:
    platform::HttpResult Get(const std::string& url,
                             const std::function<void(std::size_t received)>& onChunk = {}) override;
};

}  // namespace bastion::win32
