#include "removal/quarantine/QuarantineIndex.h"

#include <algorithm>
#include <array>

#include "common/Lines.h"
#include "common/Text.h"

namespace bastion {

namespace {

constexpr std::string_view kItem = "item";
constexpr std::string_view kRestored = "restored";
constexpr std::string_view kWithdrawn = "withdrawn";
constexpr std::string_view kEnd = "end";

constexpr std::array<std::pair<QuarantineKind, std::string_view>, 6> kKindNames{{
    {QuarantineKind::File, "File"},
    {QuarantineKind::Folder, "Folder"},
    {QuarantineKind::FolderLink, "Folder link"},
    {QuarantineKind::Cookie, "Cookie"},
    {QuarantineKind::RegistryValue, "Registry value"},
    {QuarantineKind::RegistryKey, "Registry key"},
}};

std::string Escape(std::string_view field) {
    std::string escaped;
    for (char c : field) {
        switch (c) {
        case '%': escaped += "%25"; break;
        case '\t': escaped += "%09"; break;
        case '\r': escaped += "%0D"; break;
        case '\n': escaped += "%0A"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string Unescape(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '%' && i + 2 < field.size()) {
            const std::string_view code = field.substr(i + 1, 2);
            const char c = code == "25" ? '%' : code == "09" ? '\t' : code == "0D" ? '\r' : code == "0A" ? '\n' : 0;
            if (c != 0) {
                text += c;
                i += 2;
                continue;
            }
        }
        text += field[i];
    }
    return text;
}

std::string Record(std::initializer_list<std::string_view> fields) {
    std::string line;
    for (std::string_view field : fields) {
        line += Escape(field);
        line += '\t';
    }
    line += kEnd;
    return line;
}

// The fields of a whole record; empty for a torn or foreign line.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields = Split(line, "\t");
    if (fields.size() < 2 || fields.back() != kEnd) return {};
    fields.pop_back();
    for (std::string& field : fields) field = Unescape(field);
    return fields;
}

std::uint64_t ParseId(const std::string& text) {
    long long number = 0;
    return ParseWholeNumber(text, number) && number > 0 ? static_cast<std::uint64_t>(number) : 0;
}

}  // namespace

std::string_view QuarantineKindName(QuarantineKind kind) {
    for (const auto& [candidate, name] : kKindNames) {
        if (candidate == kind) return name;
    }
    return {};
}

std::optional<QuarantineKind> QuarantineKindFromName(std::string_view name) {
    for (const auto& [kind, candidate] : kKindNames) {
        if (candidate == name) return kind;
    }
    return std::nullopt;
}

std::string FormatIndexRecord(const QuarantineItem& item) {
    return Record({kItem, ToDecimal(static_cast<long long>(item.id)), item.date, QuarantineKindName(item.kind),
                   item.storedName, item.originalLocation});
}

std::string FormatRestoredRecord(std::uint64_t id) {
    return Record({kRestored, ToDecimal(static_cast<long long>(id))});
}

std::string FormatWithdrawnRecord(std::uint64_t id) {
    return Record({kWithdrawn, ToDecimal(static_cast<long long>(id))});
}

std::vector<QuarantineItem> ParseIndex(std::string_view content) {
    std::vector<QuarantineItem> items;
    for (const std::string& line : SplitLines(content)) {
        const std::vector<std::string> fields = Fields(line);
        if (fields.size() == 6 && fields[0] == kItem) {
            const std::uint64_t id = ParseId(fields[1]);
            const std::optional<QuarantineKind> kind = QuarantineKindFromName(fields[3]);
            if (id == 0 || !kind || fields[4].empty()) continue;
            items.push_back({id, fields[2], *kind, fields[4], fields[5]});
        } else if (fields.size() == 2 && (fields[0] == kRestored || fields[0] == kWithdrawn)) {
            const std::uint64_t id = ParseId(fields[1]);
            std::erase_if(items, [id](const QuarantineItem& item) { return item.id == id; });
        }
    }
    return items;
}

std::uint64_t HighestIndexId(std::string_view content) {
    std::uint64_t highest = 0;
    for (const std::string& line : SplitLines(content)) {
        const std::vector<std::string> fields = Fields(line);
        if (fields.size() >= 2) highest = std::max(highest, ParseId(fields[1]));
    }
    return highest;
}

}  // namespace bastion
