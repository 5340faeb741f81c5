#include "update/KeptDeltas.h"

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "platform/LineFile.h"
#include "update/SignedAnswer.h"

namespace bastion {

namespace {

constexpr std::string_view kExtension = ".delta";

// "20060317143000": sorts as the dates do, and is a file name anywhere.
std::string DigitsOf(const DateTime& date) {
    std::string utc = FormatUtcTime(date);
    return RemoveChars(utc, "-T:Z");
}

struct Dates {
    DateTime from;
    DateTime to;
};

std::optional<Dates> HeaderDates(std::string_view signedPart) {
    const std::optional<DeltaHeader> header = ParseDeltaHeader(signedPart);
    if (!header) return std::nullopt;
    const std::optional<DateTime> from = ParseGeneralDate(header->from);
    const std::optional<DateTime> to = ParseGeneralDate(header->to);
    if (!from || !to || *to < *from) return std::nullopt;
    return Dates{*from, *to};
}

// The from of a kept delta by its name.
std::optional<DateTime> FromOfName(std::string_view name) {
    if (name.size() != 14 + 1 + 14 + kExtension.size() || name[14] != '-' || !EndsWith(name, kExtension)) {
        return std::nullopt;
    }
    const std::string digits(name.substr(0, 14));
    return ParseUtcTime(digits.substr(0, 4) + "-" + digits.substr(4, 2) + "-" + digits.substr(6, 2) + "T" +
                        digits.substr(8, 2) + ":" + digits.substr(10, 2) + ":" + digits.substr(12, 2) + "Z");
}

}  // namespace

bool KeepVerifiedDelta(platform::FileSystem& files, std::string_view dataFolder, std::string_view answer) {
    const std::optional<SignedAnswer> split = SplitSignedAnswer(answer);
    const std::optional<Dates> dates = split ? HeaderDates(split->signedPart) : std::nullopt;
    if (!dates) return false;
    const std::string folder = DataFilePath(dataFolder, kKeptDeltasFolder);
    if (!files.FolderExists(folder)) files.CreateFolder(folder);
    const std::string name = DigitsOf(dates->from) + "-" + DigitsOf(dates->to) + std::string(kExtension);
    if (!platform::WriteFileReplacing(files, DataFilePath(folder, name), std::string(answer))) return false;
    if (const std::optional<platform::DirListing> listing = files.ListDirectory(folder)) {
        for (const platform::DirEntry& entry : listing->entries) {
            const std::optional<DateTime> from = FromOfName(entry.name);
            if (from && *from >= dates->from && !EqualsIgnoreCase(entry.name, name)) {
                files.DeleteFile(DataFilePath(folder, entry.name));
            }
        }
    }
    return true;
}

KeptDeltas ReadKeptDeltas(platform::FileSystem& files, std::string_view dataFolder, const DefinitionTrust& trust) {
    KeptDeltas kept;
    const std::string folder = DataFilePath(dataFolder, kKeptDeltasFolder);
    const std::optional<platform::DirListing> listing = files.ListDirectory(folder);
    if (!listing) return kept;
    for (const platform::DirEntry& entry : listing->entries) {
        if ((entry.attributes & platform::kAttrDirectory) != 0 || !EndsWithIgnoreCase(entry.name, kExtension)) {
            continue;
        }
        const std::optional<std::string> answer = files.ReadFile(DataFilePath(folder, entry.name));
        const std::optional<std::string_view> signedPart =
            answer && trust.Keyed() && trust.crypto ? VerifiedPart(*trust.crypto, trust.publicKey, *answer)
                                                    : std::nullopt;
        const std::optional<Dates> dates = signedPart ? HeaderDates(*signedPart) : std::nullopt;
        if (!dates) {
            kept.refused.push_back(entry.name);
            continue;
        }
        const std::optional<DeltaHeader> header = ParseDeltaHeader(*signedPart);
        ParsedDelta parsed = ParseDefinitionDelta(header->records);
        if (parsed.actions != header->count) {
            kept.refused.push_back(entry.name);
            continue;
        }
        kept.verified.push_back({entry.name, dates->from, dates->to, std::move(parsed)});
    }
    return kept;
}

}  // namespace bastion
