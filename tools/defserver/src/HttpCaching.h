// What lets a cache in front of the server (or the server itself) answer a
// repeated request with "304 Not Modified": an entity tag and a time of last
// change for every answer, and the test of a request's conditions against
// them.
//
// The tag is weak ("W/" and a digest of what the answer says): a signed
// answer made again carries another signature (ECDSA signatures differ each
// time), yet says the same, so instances that serve the same change sets
// give the same tags.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace defserver {

// W/"32 hexadecimal digits": the start of the SHA-256 of the bytes.
std::string EntityTag(std::string_view bytes);

// The HTTP date of a time ("Sun, 06 Nov 1994 08:49:37 GMT") and back.
std::string HttpDate(std::time_t time);
std::optional<std::time_t> ParseHttpDate(const std::string& text);
// A file's time, no later than now: a clock set ahead on the machine that
// wrote it must not make an answer newer than the moment it is sent.
std::time_t FileTime(std::filesystem::file_time_type time);

// Whether a request with these If-None-Match and If-Modified-Since values
// (empty when absent) already holds the answer of this tag and time. A
// request that names tags is judged by its tags alone.
bool NotModified(const std::string& ifNoneMatch, const std::string& ifModifiedSince, const std::string& tag,
                 std::time_t lastModified);

}  // namespace defserver
