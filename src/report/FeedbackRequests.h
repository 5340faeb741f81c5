// The feedback requests to the definition server, as addresses: the
// anonymous data (the names of the running programs), one file name, and
// a false-positive report. Every value is percent-encoded, so that any
// character arrives as it was; no request grows past a bound that every
// server and proxy takes, and a list that does not fit one request is
// spread over several.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "platform/Internet.h"
#include "platform/Processes.h"

namespace bastion {

// The longest request address sent.
inline constexpr std::size_t kMaxRequestLength = 2000;

// The running programs' names, each in the definition encoding and followed
// by "|", the last "|" left out; the system's own processes and the
// browsers are not among them. Empty when the processes cannot be listed.
std::string CollectRunningProcessNames(platform::Processes& processes, const CodePage& codePage);

// The anonymous data in as few requests as the bound allows; each carries
// whole names. Empty for empty data.
std::vector<std::string> AnonymousDataUrls(std::string_view base, std::string_view data);

// The file name submission: the name in the definition encoding, then "|";
// nullopt when the request would be too long.
std::optional<std::string> FileNameUrl(std::string_view base, std::string_view fileName, const CodePage& codePage);

// The false-positive report: the locations, each followed by "|", spread
// over as many requests as needed, each with the whole description. Empty
// when the description with one location does not fit a request.
std::vector<std::string> FalsePositiveUrls(std::string_view base, const std::vector<std::string>& locations,
                                           std::string_view description);

// A server took the request: a 2xx answer received whole whose text,
// trimmed, begins with the word (ignoring case) and not with a longer word.
bool AnswerAccepts(const platform::HttpResult& answer, std::string_view word);

}  // namespace bastion
