#include "platform/Internet.h"

namespace bastion::platform {

std::optional<std::string> HttpGetText(Internet& internet, const std::string& url,
                                       const std::function<void(std::size_t received)>& onChunk) {
    HttpResult result = internet.Get(url, onChunk);
    if (!result.Succeeded()) return std::nullopt;
    return std::move(result.body);
}

}  // namespace bastion::platform
