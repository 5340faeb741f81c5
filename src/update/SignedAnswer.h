// Answers of the definition server that only the vendor can write. The
// server signs with the vendor's private key and appends the signature as a
// last record:
//
//   answer = signed "[BR]SIGNATURE|" base64(r then s, 32 bytes each)
//
// ECDSA P-256 with SHA-256 over the bytes of signed exactly as sent. Every
// signed part begins with its kind, and is taken only as that kind: one
// signed answer is never passed off as another.
//
//   delta:       "DELTA|" from "|" to "|" count "[BR]" records
//   date:        "DATE|" date "|" issued
//   translation: "LANGUAGE|" branding number "|" the file's bytes
//
// A delta holds every change after from, which is no later than the date
// the client asked with; to is the definition date the client stores after
// applying, count the number of ADD and DEL records that follow. A client
// that does not know the form ignores both records: their action is
// neither ADD nor DEL. issued is the server's UTC time,
// "YYYY-MM-DDTHH:MM:SSZ": an answer played back later is seen to be old.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/DateTime.h"
#include "platform/Crypto.h"
#include "update/DefinitionDelta.h"
#include "update/DefinitionTrust.h"

namespace bastion {

struct SignedAnswer {
    // The bytes the signature covers.
    std::string_view signedPart;
    // The 64 signature bytes.
    std::string signature;
};

// The answer split at its last "[BR]SIGNATURE|" (blanks and line breaks
// after the signature are allowed); nullopt when there is none or the
// signature is not 64 bytes in base64.
std::optional<SignedAnswer> SplitSignedAnswer(std::string_view answer);

// The signed part of an answer whose signature the key verifies.
std::optional<std::string_view> VerifiedPart(platform::Crypto& crypto, std::string_view publicKey,
                                             std::string_view answer);

// The translation file in an answer for the branding number: with a key,
// the file of a "LANGUAGE|" answer for that number the key verifies, and
// nothing else; without one, the answer less a signature record and a
// "LANGUAGE|" prefix it may carry.
std::optional<std::string_view> TrustedLanguageFile(const DefinitionTrust& trust, std::string_view answer,
                                                    int brandingNumber);

struct ServerDate {
    DateTime date;
    // When the server issued it (UTC); unsigned answers carry none.
    std::optional<DateTime> issued;
};

// A signed date answer whose signature the key verifies and which is
// "DATE|" date "|" issued, both readable; nullopt otherwise.
std::optional<ServerDate> VerifyDateAnswer(platform::Crypto& crypto, std::string_view publicKey,
                                           std::string_view answer);
// A date answer as a program without a key reads it: the plain date text
// of old (cleaned as CleanDateAnswer does), or the date of a "DATE|"
// answer, signed or not.
std::optional<ServerDate> ReadDateAnswer(std::string_view answer);
// Whether an answer issued then is fresh at now (both UTC): issued no more
// than seven days before now and no more than one day after it (clocks
// differ).
bool IssuedRecently(const DateTime& issued, const DateTime& now);
// "2024-05-01T14:30:00Z" and back.
std::string FormatUtcTime(const DateTime& time);
std::optional<DateTime> ParseUtcTime(std::string_view text);

struct DeltaHeader {
    std::string from;
    std::string to;
    std::size_t count = 0;
    // The records after the header.
    std::string_view records;
};

// The header of a delta's signed part; nullopt unless it is "DELTA|" with
// three fields, the count a whole number.
std::optional<DeltaHeader> ParseDeltaHeader(std::string_view signedPart);

struct VerifiedDelta {
    // The date to store after applying.
    DateTime to;
    ParsedDelta parsed;
};

// The delta when the key's signature verifies, it holds every change after
// the date that was asked with (its from is no later), it brings the
// definitions to the date the server's verified date answer named, and its
// count is the number of its records; nullopt otherwise. An old delta
// played back, one for another date, or another kind of signed answer is
// refused.
std::optional<VerifiedDelta> VerifyDefinitionDelta(platform::Crypto& crypto, std::string_view publicKey,
                                                   std::string_view answer, const DateTime& asked,
                                                   const DateTime& serverDate);

}  // namespace bastion
