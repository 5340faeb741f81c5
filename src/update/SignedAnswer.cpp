#include "update/SignedAnswer.h"

#include "common/Base64.h"
#include "common/DateTime.h"
#include "common/Text.h"

namespace bastion {

namespace {

constexpr std::string_view kSignatureRecord = "[BR]SIGNATURE|";
constexpr std::string_view kDeltaRecord = "DELTA|";
constexpr std::string_view kRecordSeparator = "[BR]";

}  // namespace

std::optional<SignedAnswer> SplitSignedAnswer(std::string_view answer) {
    const std::size_t at = answer.rfind(kSignatureRecord);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view encoded = answer.substr(at + kSignatureRecord.size());
    while (!encoded.empty() && (encoded.back() == ' ' || encoded.back() == '\r' || encoded.back() == '\n')) {
        encoded.remove_suffix(1);
    }
    std::optional<std::string> signature = Base64Decode(encoded);
    if (!signature || signature->size() != platform::kP256SignatureSize) return std::nullopt;
    return SignedAnswer{answer.substr(0, at), std::move(*signature)};
}

std::optional<std::string_view> VerifiedPart(platform::Crypto& crypto, std::string_view publicKey,
                                             std::string_view answer) {
    const std::optional<SignedAnswer> split = SplitSignedAnswer(answer);
    if (!split || !platform::VerifySignedBytes(crypto, publicKey, split->signedPart, split->signature)) {
        return std::nullopt;
    }
    return split->signedPart;
}

std::optional<std::string_view> TrustedAnswer(const DefinitionTrust& trust, std::string_view answer) {
    if (trust.Keyed()) {
        if (!trust.crypto) return std::nullopt;
        return VerifiedPart(*trust.crypto, trust.publicKey, answer);
    }
    const std::optional<SignedAnswer> split = SplitSignedAnswer(answer);
    return split ? split->signedPart : answer;
}

std::optional<DeltaHeader> ParseDeltaHeader(std::string_view signedPart) {
    if (!StartsWith(signedPart, kDeltaRecord)) return std::nullopt;
    const std::size_t end = signedPart.find(kRecordSeparator);
    if (end == std::string_view::npos) return std::nullopt;
    const std::vector<std::string> fields = Split(signedPart.substr(kDeltaRecord.size(), end - kDeltaRecord.size()), "|");
    long long count = 0;
    if (fields.size() != 3 || !ParseWholeNumber(fields[2], count) || count < 0) return std::nullopt;
    return DeltaHeader{fields[0], fields[1], static_cast<std::size_t>(count),
                       signedPart.substr(end + kRecordSeparator.size())};
}

std::optional<VerifiedDelta> VerifyDefinitionDelta(platform::Crypto& crypto, std::string_view publicKey,
                                                   std::string_view answer, std::string_view askedDate) {
    const std::optional<std::string_view> signedPart = VerifiedPart(crypto, publicKey, answer);
    if (!signedPart) return std::nullopt;
    std::optional<DeltaHeader> header = ParseDeltaHeader(*signedPart);
    // A delta for another date would apply changes the client does not
    // build on, or leave out some it lacks.
    if (!header || header->from != askedDate) return std::nullopt;
    const std::optional<DateTime> from = ParseGeneralDate(header->from);
    const std::optional<DateTime> to = ParseGeneralDate(header->to);
    if (!from || !to || *to < *from) return std::nullopt;
    VerifiedDelta delta{std::move(header->to), ParseDefinitionDelta(header->records)};
    if (delta.parsed.actions != header->count) return std::nullopt;
    return delta;
}

}  // namespace bastion
