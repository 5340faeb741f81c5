#include "HttpCaching.h"

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

#include "common/Text.h"

namespace defserver {

namespace {

constexpr std::size_t kTagBytes = 16;

// The tag without its weakness mark: tags compare weakly.
std::string_view Opaque(std::string_view tag) {
    tag = bastion::TrimmedView(tag);
    if (tag.substr(0, 2) == "W/") tag.remove_prefix(2);
    return tag;
}

}  // namespace

std::string EntityTag(std::string_view bytes) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int size = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &size, EVP_sha256(), nullptr) != 1) return {};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string tag = "W/\"";
    for (std::size_t i = 0; i < kTagBytes && i < size; ++i) {
        tag += kHex[digest[i] >> 4];
        tag += kHex[digest[i] & 15];
    }
    return tag + "\"";
}

std::string HttpDate(std::time_t time) {
    std::tm utc{};
    ::gmtime_r(&time, &utc);
    std::array<char, 64> text{};
    const std::size_t size = std::strftime(text.data(), text.size(), "%a, %d %b %Y %H:%M:%S GMT", &utc);
    return std::string(text.data(), size);
}

std::optional<std::time_t> ParseHttpDate(const std::string& text) {
    std::tm utc{};
    const char* end = ::strptime(text.c_str(), "%a, %d %b %Y %H:%M:%S GMT", &utc);
    if (!end || *end != '\0') return std::nullopt;
    return ::timegm(&utc);
}

std::time_t FileTime(std::filesystem::file_time_type time) {
    const std::time_t written = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(time));
    return std::min(written, std::time(nullptr));
}

bool NotModified(const std::string& ifNoneMatch, const std::string& ifModifiedSince, const std::string& tag,
                 std::time_t lastModified) {
    if (!bastion::Trim(ifNoneMatch).empty()) {
        if (bastion::Trim(ifNoneMatch) == "*") return true;
        std::string_view tags = ifNoneMatch;
        while (!tags.empty()) {
            const std::size_t comma = tags.find(',');
            if (Opaque(tags.substr(0, comma)) == Opaque(tag)) return true;
            tags = comma == std::string_view::npos ? std::string_view() : tags.substr(comma + 1);
        }
        return false;
    }
    const std::optional<std::time_t> since = ParseHttpDate(bastion::Trim(ifModifiedSince));
    return since && lastModified <= *since;
}

}  // namespace defserver
