#include "platform/Internet.h"

namespace bastion::platform {

std::optional<std::string> HttpGetText(Internet& internet, const HttpRequest& request, const HttpWaiting& waiting) {
    HttpResult result = internet.Request(request, waiting);
    if (!result.Succeeded()) return std::nullopt;
    return std::move(result.body);
}

}  // namespace bastion::platform
