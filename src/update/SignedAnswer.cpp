#include "update/SignedAnswer.h"

#include "common/Base64.h"
#include "common/Text.h"
#include "update/DefinitionDate.h"

namespace bastion {

namespace {

constexpr std::string_view kSignatureRecord = "[BR]SIGNATURE|";
constexpr std::string_view kDeltaKind = "DELTA|";
constexpr std::string_view kDateKind = "DATE|";
constexpr std::string_view kLanguageKind = "LANGUAGE|";
constexpr std::string_view kRecordSeparator = "[BR]";
constexpr long long kDaySeconds = 24 * 60 * 60;
// How old a date answer may be, and how far ahead of the program's clock.
constexpr long long kFreshFor = 7 * kDaySeconds;
constexpr long long kAheadBy = kDaySeconds;

// The answer less a signature record it may carry.
std::string_view Unwrapped(std::string_view answer) {
    const std::optional<SignedAnswer> split = SplitSignedAnswer(answer);
    return split ? split->signedPart : answer;
}

// "DATE|" date "|" issued, both readable.
std::optional<ServerDate> ParseDateRecord(std::string_view signedPart) {
    if (!StartsWith(signedPart, kDateKind)) return std::nullopt;
    const std::vector<std::string> fields = Split(signedPart.substr(kDateKind.size()), "|");
    if (fields.size() != 2) return std::nullopt;
    std::optional<DateTime> date = ParseGeneralDate(fields[0]);
    std::optional<DateTime> issued = ParseUtcTime(fields[1]);
    if (!date || !issued) return std::nullopt;
    return ServerDate{*date, *issued};
}

// Two decimal digits or more of text at a place, as a number.
bool Digits(std::string_view text, std::size_t at, std::size_t count, int& value) {
    if (at + count > text.size()) return false;
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

std::string TwoDigits(int value) { return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10); }

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

std::optional<std::string_view> TrustedLanguageFile(const DefinitionTrust& trust, std::string_view answer,
                                                    int brandingNumber) {
    const std::string kind = std::string(kLanguageKind) + ToDecimal(brandingNumber) + "|";
    if (trust.Keyed()) {
        const std::optional<std::string_view> signedPart =
            trust.crypto ? VerifiedPart(*trust.crypto, trust.publicKey, answer) : std::nullopt;
        if (!signedPart || !StartsWith(*signedPart, kind)) return std::nullopt;
        return signedPart->substr(kind.size());
    }
    std::string_view file = Unwrapped(answer);
    if (StartsWith(file, kLanguageKind)) {
        const std::size_t end = file.find('|', kLanguageKind.size());
        file = end == std::string_view::npos ? std::string_view() : file.substr(end + 1);
    }
    return file;
}

std::optional<ServerDate> VerifyDateAnswer(platform::Crypto& crypto, std::string_view publicKey,
                                           std::string_view answer) {
    const std::optional<std::string_view> signedPart = VerifiedPart(crypto, publicKey, answer);
    if (!signedPart) return std::nullopt;
    return ParseDateRecord(*signedPart);
}

std::optional<ServerDate> ReadDateAnswer(std::string_view answer) {
    const std::string_view unwrapped = TrimmedView(Unwrapped(answer));
    if (StartsWith(unwrapped, kDateKind)) {
        const std::vector<std::string> fields = Split(unwrapped.substr(kDateKind.size()), "|");
        const std::optional<DateTime> date = ParseGeneralDate(fields[0]);
        if (!date) return std::nullopt;
        return ServerDate{*date, fields.size() > 1 ? ParseUtcTime(fields[1]) : std::nullopt};
    }
    const std::optional<DateTime> date = ParseGeneralDate(CleanDateAnswer(answer));
    if (!date) return std::nullopt;
    return ServerDate{*date, std::nullopt};
}

bool IssuedRecently(const DateTime& issued, const DateTime& now) {
    const long long age = SecondsBetween(issued, now);
    return age <= kFreshFor && age >= -kAheadBy;
}

std::string FormatUtcTime(const DateTime& time) {
    return ToDecimal(time.year) + "-" + TwoDigits(time.month) + "-" + TwoDigits(time.day) + "T" + TwoDigits(time.hour) +
           ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second) + "Z";
}

std::optional<DateTime> ParseUtcTime(std::string_view text) {
    DateTime time;
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || text[19] != 'Z' || !Digits(text, 0, 4, time.year) || !Digits(text, 5, 2, time.month) ||
        !Digits(text, 8, 2, time.day) || !Digits(text, 11, 2, time.hour) || !Digits(text, 14, 2, time.minute) ||
        !Digits(text, 17, 2, time.second) || !IsValid(time)) {
        return std::nullopt;
    }
    return time;
}

std::optional<DeltaHeader> ParseDeltaHeader(std::string_view signedPart) {
    if (!StartsWith(signedPart, kDeltaKind)) return std::nullopt;
    const std::size_t end = signedPart.find(kRecordSeparator);
    if (end == std::string_view::npos) return std::nullopt;
    const std::vector<std::string> fields = Split(signedPart.substr(kDeltaKind.size(), end - kDeltaKind.size()), "|");
    long long count = 0;
    if (fields.size() != 3 || !ParseWholeNumber(fields[2], count) || count < 0) return std::nullopt;
    return DeltaHeader{fields[0], fields[1], static_cast<std::size_t>(count),
                       signedPart.substr(end + kRecordSeparator.size())};
}

std::optional<VerifiedDelta> VerifyDefinitionDelta(platform::Crypto& crypto, std::string_view publicKey,
                                                   std::string_view answer, const DateTime& asked,
                                                   const DateTime& serverDate) {
    const std::optional<std::string_view> signedPart = VerifiedPart(crypto, publicKey, answer);
    if (!signedPart) return std::nullopt;
    const std::optional<DeltaHeader> header = ParseDeltaHeader(*signedPart);
    if (!header) return std::nullopt;
    const std::optional<DateTime> from = ParseGeneralDate(header->from);
    const std::optional<DateTime> to = ParseGeneralDate(header->to);
    // A delta from later than asked leaves out changes the client lacks;
    // one to another date than the server's answer is an old one played
    // back, or belongs to another update.
    if (!from || !to || *from > asked || *to != serverDate) return std::nullopt;
    VerifiedDelta delta{*to, ParseDefinitionDelta(header->records)};
    if (delta.parsed.actions != header->count) return std::nullopt;
    return delta;
}

}  // namespace bastion
