#include "report/FeedbackRequests.h"

#include <algorithm>

#include "common/Text.h"
#include "definitions/DefinitionCodec.h"
#include "update/UpdateAddresses.h"

namespace bastion {

namespace {

// Left out of the anonymous data, by exact name: the system's own processes
// and the browsers run everywhere and tell nothing.
constexpr std::string_view kLeftOut[] = {"System",       "System Idle Process", "winlogon.exe", "services.exe",
                                         "svchost.exe",  "explorer.exe",        "firefox.exe",  "iexplore.exe"};

constexpr std::string_view kSeparator = "|";

// prefix + the encoded pieces + suffix, in as few addresses within the
// bound as the pieces allow. A separator follows each piece (trailing) or
// stands between them. Empty when one piece does not fit an address.
std::vector<std::string> Pack(const std::string& prefix, const std::vector<std::string>& pieces, bool trailing,
                              const std::string& suffix) {
    if (prefix.size() + suffix.size() > kMaxRequestLength) return {};
    const std::string separator = PercentEncode(kSeparator);
    const std::size_t room = kMaxRequestLength - prefix.size() - suffix.size();
    std::vector<std::string> urls;
    std::string value;
    bool holdsPiece = false;
    for (const std::string& piece : pieces) {
        std::string encoded = PercentEncode(piece);
        if (trailing) encoded += separator;
        const std::string joiner = holdsPiece && !trailing ? separator : std::string();
        if (value.size() + joiner.size() + encoded.size() <= room) {
            value += joiner + encoded;
            holdsPiece = true;
            continue;
        }
        if (!holdsPiece || encoded.size() > room) return {};
        urls.push_back(prefix + value + suffix);
        value = std::move(encoded);
    }
    if (holdsPiece || pieces.empty()) urls.push_back(prefix + value + suffix);
    return urls;
}

bool IsWordCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

}  // namespace

std::string CollectRunningProcessNames(platform::Processes& processes, const CodePage& codePage) {
    const std::optional<std::vector<platform::ProcessEntry>> running = processes.Snapshot();
    if (!running) return {};
    std::string data;
    for (const platform::ProcessEntry& process : *running) {
        if (std::find(std::begin(kLeftOut), std::end(kLeftOut), process.exeFile) != std::end(kLeftOut)) continue;
        data += EncodeDefinitionText(codePage.FromUtf8(process.exeFile));
        data += kSeparator;
    }
    if (!data.empty()) data.pop_back();
    return data;
}

std::vector<std::string> AnonymousDataUrls(std::string_view base, std::string_view data) {
    if (data.empty()) return {};
    return Pack(JoinUrl(base, "/asp/getData.asp?data="), Split(data, kSeparator), false, "");
}

std::optional<std::string> FileNameUrl(std::string_view base, std::string_view fileName, const CodePage& codePage) {
    std::vector<std::string> urls =
        Pack(JoinUrl(base, "/asp/getData.asp?data="), {EncodeDefinitionText(codePage.FromUtf8(fileName))}, true, "");
    if (urls.empty()) return std::nullopt;
    return std::move(urls.front());
}

std::vector<std::string> FalsePositiveUrls(std::string_view base, const std::vector<std::string>& locations,
                                           std::string_view description) {
    return Pack(JoinUrl(base, "/asp/submitFP.asp?files="), locations, true, "&details=" + PercentEncode(description));
}

bool AnswerAccepts(const platform::HttpResult& answer, std::string_view word) {
    if (!answer.Succeeded()) return false;
    const std::string_view body = answer.body;
    const std::size_t start = body.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return false;
    const std::string_view text = body.substr(start);
    if (!StartsWithIgnoreCase(text, word)) return false;
    return text.size() == word.size() || !IsWordCharacter(text[word.size()]);
}

}  // namespace bastion
