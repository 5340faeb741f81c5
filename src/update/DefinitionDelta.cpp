#include "update/DefinitionDelta.h"

#include <array>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "common/Text.h"
#include "definitions/DefinitionCodec.h"
#include "update/ByteSearch.h"
#include "update/StoredKeySet.h"

namespace bastion {

namespace {

constexpr std::string_view kRecordSeparator = "[BR]";
constexpr std::string_view kBodySeparator = "[DEF]";
constexpr char kPlainField = '|';
constexpr char kPlainName = '=';

enum class LineShape { Definition, Registry, Cookie, Safety };

struct FileRule {
    std::string_view name;
    LineShape shape;
    bool (*accepts)(std::string_view kind);
};

bool IsFileKind(std::string_view kind) { return kind == "FILE" || kind == "EXE" || kind == "DLL"; }
bool IsExeKind(std::string_view kind) { return kind == "EXE"; }
bool IsRegistryKind(std::string_view kind) { return kind == "REG"; }
bool IsCookieKind(std::string_view kind) { return kind == "COOK"; }
bool IsDirectoryKind(std::string_view kind) { return kind == "DIR"; }
bool IsSafetyKind(std::string_view kind) { return kind.find_first_of("sS") != std::string_view::npos; }
bool IsContentKind(std::string_view kind) { return kind == "CONTENT"; }

constexpr std::array<FileRule, kDeltaFileCount> kFiles{{
    {"FileDefinition.dat", LineShape::Definition, IsFileKind},
    {"ExeDefinition.dat", LineShape::Definition, IsExeKind},
    {"RegistryDefinition.dat", LineShape::Registry, IsRegistryKind},
    {"BlockedCookies.dat", LineShape::Cookie, IsCookieKind},
    {"DirectoryDefinition.dat", LineShape::Definition, IsDirectoryKind},
    {"Safety.dat", LineShape::Safety, IsSafetyKind},
    {"ContentDefinition.dat", LineShape::Definition, IsContentKind},
}};

// Lower case of a decoded byte: ASCII and the accented capitals of the
// Western code pages.
char LowerByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) return static_cast<char>(u + 0x20);
    return c;
}

// Decoded and lower-cased into out, reusing its buffer.
void DecodeLowerInto(std::string_view stored, std::string& out) {
    out.resize(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        int code = static_cast<unsigned char>(stored[i]) - 64;
        if (code < 0) code += 255;
        out[i] = LowerByte(static_cast<char>(code));
    }
}

void StoredKeyInto(std::string_view storedLine, std::string& out) {
    DecodeLowerInto(storedLine.substr(0, storedLine.find(kStoredNameSeparator)), out);
}

// The body's plain separators in their stored form.
std::string StoredForm(std::string_view sent) {
    std::string out(sent);
    for (char& c : out) {
        if (c == kPlainField) c = kStoredFieldSeparator;
        if (c == kPlainName) c = kStoredNameSeparator;
    }
    return out;
}

std::string_view BeforeName(std::string_view body) { return body.substr(0, body.find(kPlainName)); }

// The line an ADD stores in a file of this shape; empty when the body lacks
// the fields the shape needs.
std::string StoredLine(LineShape shape, const DeltaRecord& record) {
    switch (shape) {
        case LineShape::Definition:
            return StoredForm(record.body);
        case LineShape::Cookie:
            return std::string(BeforeName(record.body));
        case LineShape::Safety:
            return EncodeDefinitionText(record.kind + "|") + StoredForm(record.body);
        case LineShape::Registry: {
            // K=V|P1|P2 is stored as P1 "^=" V "|" P2; K only names the
            // record.
            const std::vector<std::string> fields = Split(record.body, "|");
            if (fields.size() < 3) return {};
            const std::size_t name = fields[0].find(kPlainName);
            if (name == std::string::npos) return {};
            return StoredForm(fields[1]) + EncodeDefinitionText("^=") + StoredForm(fields[0].substr(name + 1)) +
                   EncodeDefinitionText("|") + StoredForm(fields[2]);
        }
    }
    return {};
}

// The key a record adds or deletes: its body before the first "=", as the
// stored line of the file begins (a safety line with its kind).
std::string RecordKey(LineShape shape, const DeltaRecord& record) {
    std::string line = StoredForm(BeforeName(record.body));
    if (shape == LineShape::Safety) line = EncodeDefinitionText(record.kind + "|") + line;
    std::string key;
    StoredKeyInto(line, key);
    return key;
}

bool BlankKey(std::string_view body) { return TrimmedView(DecodeDefinitionText(StoredForm(BeforeName(body)))).empty(); }

bool HoldsLineEnd(std::string_view line) { return line.find_first_of("\r\n") != std::string_view::npos; }

void AppendLine(std::string& out, std::string_view line) {
    out.append(line);
    out.append("\r\n");
}

}  // namespace

ParsedDelta ParseDefinitionDelta(std::string_view text) {
    ParsedDelta delta;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = FindIgnoreCase(text, kRecordSeparator, start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view record = TrimmedView(text.substr(start, end - start));
        start = end + kRecordSeparator.size();
        if (record.empty()) continue;

        // The header ends at "[DEF]"; a record without one is all header.
        const std::size_t def = record.find(kBodySeparator);
        const std::string_view header = record.substr(0, def);
        const std::size_t bar = header.find(kPlainField);
        std::string_view action = bar == std::string_view::npos ? std::string_view() : header.substr(bar + 1);
        action = action.substr(0, action.find(kPlainField));
        const bool known = action == "ADD" || action == "DEL";
        if (known) ++delta.actions;
        if (def == std::string_view::npos || bar == std::string_view::npos) {
            ++delta.malformed;
            continue;
        }
        if (!known) continue;
        std::string_view body = record.substr(def + kBodySeparator.size());
        body = body.substr(0, body.find(kBodySeparator));
        if (body.empty()) {
            ++delta.malformed;
            continue;
        }
        delta.records.push_back({DecodeDefinitionText(header.substr(0, bar)),
                                 action == "ADD" ? DeltaAction::Add : DeltaAction::Delete, std::string(body)});
    }
    return delta;
}

std::string_view DeltaFileName(std::size_t file) { return kFiles.at(file).name; }

FileChange PlanFileChange(const ParsedDelta& delta, std::size_t file) {
    const FileRule& rule = kFiles.at(file);
    FileChange change;
    // The last DEL of each key, by record position: an ADD before it is
    // undone by it, an ADD after it stands.
    std::unordered_map<std::string, std::size_t> lastDeletion;
    for (std::size_t i = 0; i < delta.records.size(); ++i) {
        const DeltaRecord& record = delta.records[i];
        if (record.action != DeltaAction::Delete || !rule.accepts(record.kind) || BlankKey(record.body)) continue;
        const auto [entry, added] = lastDeletion.insert_or_assign(RecordKey(rule.shape, record), i);
        if (added) change.deletedKeys.push_back(entry->first);
    }
    std::unordered_set<std::string> addedLines;
    std::string lineKey;
    for (std::size_t i = 0; i < delta.records.size(); ++i) {
        const DeltaRecord& record = delta.records[i];
        if (!rule.accepts(record.kind)) continue;
        if (BlankKey(record.body)) {
            ++change.skipped;
            continue;
        }
        if (record.action == DeltaAction::Delete) continue;
        std::string line = StoredLine(rule.shape, record);
        StoredKeyInto(line, lineKey);
        if (line.empty() || HoldsLineEnd(line) || TrimmedView(lineKey).empty()) {
            ++change.skipped;
            continue;
        }
        // A DEL removes the lines whose stored key is its key, the ones
        // added before it in the same delta included.
        if (const auto deleted = lastDeletion.find(lineKey); deleted != lastDeletion.end() && deleted->second > i) {
            continue;
        }
        if (addedLines.insert(line).second) change.added.push_back(std::move(line));
    }
    return change;
}

AppliedFileChange ApplyFileChange(const FileChange& change, std::string_view content,
                                  const std::function<void(std::size_t linesRead)>& everyHundredLines) {
    const StoredKeySet deletedKeys(change.deletedKeys);
    const bool deletes = !deletedKeys.Empty();
    const std::unordered_set<std::string_view> adding(change.added.begin(), change.added.end());
    // Added lines not met among the lines kept yet.
    std::unordered_set<std::string_view> missing = adding;

    AppliedFileChange applied;
    std::string& out = applied.content;
    out.reserve(content.size() + 2 + change.added.size() * 64);
    std::size_t lines = 0;
    std::size_t position = 0;
    while (position < content.size()) {
        const std::size_t end =
            position + FindEitherByte(content.data() + position, content.size() - position, '\r', '\n');
        const std::string_view line = content.substr(position, end - position);
        position = end;
        if (position < content.size()) {
            const bool crLf =
                content[position] == '\r' && position + 1 < content.size() && content[position + 1] == '\n';
            position += crLf ? 2 : 1;
        }
        if (++lines % 100 == 0 && everyHundredLines) everyHundredLines(lines);
        if (deletes && (line.empty() || line == " ")) continue;
        // A deleted line that the delta adds again stays where it stands:
        // removing and appending it would move it on every application.
        if (deletes && deletedKeys.Holds(line) && (adding.empty() || adding.count(line) == 0)) {
            ++applied.changes;
            continue;
        }
        if (!missing.empty()) missing.erase(line);
        AppendLine(out, line);
    }
    for (const std::string& line : change.added) {
        if (missing.erase(line) == 0) continue;
        AppendLine(out, line);
        ++applied.changes;
    }
    return applied;
}

std::string StoredLineKey(std::string_view storedLine) {
    std::string key;
    StoredKeyInto(storedLine, key);
    return key;
}

void ExerciseDefinitionDelta(std::string_view bytes) {
    const ParsedDelta delta = ParseDefinitionDelta(bytes);
    for (std::size_t file = 0; file < kDeltaFileCount; ++file) {
        const FileChange change = PlanFileChange(delta, file);
        for (const std::string& line : change.added) {
            if (HoldsLineEnd(line)) std::abort();
        }
        const std::string start = EncodeDefinitionText("one=1|a|b") + "\r\n\r\n" + EncodeDefinitionText("two=2");
        const std::string once = ApplyFileChange(change, start).content;
        if (ApplyFileChange(change, once).content != once) std::abort();
    }
}

}  // namespace bastion
