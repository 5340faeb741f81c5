// Answers of the definition server that only the vendor can write. The
// server signs with the vendor's private key and appends the signature as a
// last record:
//
//   answer = signed "[BR]SIGNATURE|" base64(r then s, 32 bytes each)
//
// ECDSA P-256 with SHA-256 over the bytes of signed exactly as sent. A
// delta's signed part begins with a record that says what it is:
//
//   signed = "DELTA|" from "|" to "|" count "[BR]" records
//
// from is the date text the client sent as "&date=", to the definition date
// the client stores after applying, count the number of ADD and DEL records
// that follow. A client that does not know the form ignores both records:
// their action is neither ADD nor DEL. The translation file carries the
// same last record after its own bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// The part of an answer the program may use: with a key, the signed part
// of an answer the key verifies, and nothing else; without one, the answer
// less a signature record it may carry.
std::optional<std::string_view> TrustedAnswer(const DefinitionTrust& trust, std::string_view answer);

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
    std::string to;
    ParsedDelta parsed;
};

// The delta when the key's signature verifies, it answers the date that was
// asked with, its count is the number of its records and its to is a date
// no earlier than from; nullopt otherwise.
std::optional<VerifiedDelta> VerifyDefinitionDelta(platform::Crypto& crypto, std::string_view publicKey,
                                                   std::string_view answer, std::string_view askedDate);

}  // namespace bastion
