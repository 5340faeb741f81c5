#include "removal/registry/RegFile.h"

#include <cstdio>

#include "common/Lines.h"
#include "common/Text.h"
#include "common/Utf.h"

namespace bastion {

namespace {

constexpr platform::Hive kHives[] = {platform::Hive::ClassesRoot, platform::Hive::CurrentUser,
                                     platform::Hive::LocalMachine, platform::Hive::Users,
                                     platform::Hive::CurrentConfig, platform::Hive::DynData};

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char digits[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
        if (i > 0) text += ',';
        text += digits;
    }
    return text;
}

// A plain string whose quoted form imports as exactly these bytes: the
// text's UTF-16 with one terminating NUL, no NUL inside, no line break.
bool QuotableString(const platform::RegValue& value) {
    if (value.type != platform::RegType::String || Contains(value.text, "\r") || Contains(value.text, "\n") ||
        Contains(value.text, std::string_view("\0", 1))) {
        return false;
    }
    return platform::RegValue::String(value.text).bytes == value.bytes;
}

std::string ValueData(const platform::RegValue& value) {
    if (QuotableString(value)) return Quoted(value.text);
    if (value.type == platform::RegType::Dword && value.bytes.size() == 4) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(value.number & 0xFFFFFFFFu));
        return digits;
    }
    if (value.type == platform::RegType::Binary) return "hex:" + HexBytes(value.bytes);
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
    return prefix + HexBytes(value.bytes);
}

std::string Utf16WithBom(std::string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : Utf8ToUtf16(text)) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string FileText(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                  (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        }
        return Utf16ToUtf8(units);
    }
    if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return std::string(bytes);
}

// Reads a quoted text from the start of rest (after its opening quote is
// checked); the rest is left after the closing quote.
std::optional<std::string> ReadQuoted(std::string_view& rest) {
    if (rest.empty() || rest.front() != '"') return std::nullopt;
    std::string text;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        if (rest[i] == '\\' && i + 1 < rest.size()) {
            text += rest[++i];
        } else if (rest[i] == '"') {
            rest.remove_prefix(i + 1);
            return text;
        } else {
            text += rest[i];
        }
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadHex(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    for (std::string piece : Split(text, ",")) {
        piece = Trim(piece);
        if (piece.empty()) continue;
        unsigned byte = 0;
        char extra = 0;
        if (piece.size() > 2 || std::sscanf(piece.c_str(), "%2x%c", &byte, &extra) != 1) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(byte));
    }
    return bytes;
}

std::optional<platform::RegValue> ReadData(std::string_view data) {
    if (data.starts_with('"')) {
        std::optional<std::string> text = ReadQuoted(data);
        if (!text) return std::nullopt;
        return platform::RegValue::String(*text);
    }
    if (data.starts_with("dword:")) {
        unsigned number = 0;
        if (data.size() != 14 || std::sscanf(std::string(data.substr(6)).c_str(), "%8x", &number) != 1) {
            return std::nullopt;
        }
        return platform::RegValue::Dword(number);
    }
    unsigned type = static_cast<unsigned>(platform::RegType::Binary);
    if (data.starts_with("hex(")) {
        const std::size_t close = data.find("):");
        if (close == std::string_view::npos ||
            std::sscanf(std::string(data.substr(4, close - 4)).c_str(), "%x", &type) != 1) {
            return std::nullopt;
        }
        data.remove_prefix(close + 2);
    } else if (data.starts_with("hex:")) {
        data.remove_prefix(4);
    } else {
        return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> bytes = ReadHex(data);
    if (!bytes) return std::nullopt;
    return platform::RegValue::Raw(static_cast<platform::RegType>(type), std::move(*bytes));
}

bool ReadKeyLine(std::string_view line, RegistrySnapshot& snapshot, bool first) {
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos) return false;
    const std::string name(line.substr(1, close - 1));
    const std::size_t separator = name.find('\\');
    const std::string hiveName = name.substr(0, separator);
    for (platform::Hive hive : kHives) {
        if (!EqualsIgnoreCase(hiveName, platform::HiveName(hive))) continue;
        if (!first && hive != snapshot.hive) return false;
        snapshot.hive = hive;
        snapshot.keys.push_back({separator == std::string::npos ? std::string() : name.substr(separator + 1), {}});
        return true;
    }
    return false;
}

bool ReadValueLine(std::string_view line, RegistrySnapshot& snapshot) {
    if (snapshot.keys.empty()) return false;
    std::string name;
    if (line.starts_with('@')) {
        line.remove_prefix(1);
    } else {
        std::optional<std::string> quoted = ReadQuoted(line);
        if (!quoted) return false;
        name = std::move(*quoted);
    }
    if (!line.starts_with('=')) return false;
    std::optional<platform::RegValue> value = ReadData(TrimmedView(line.substr(1)));
    if (!value) return false;
    snapshot.keys.back().values.push_back({std::move(name), std::move(*value)});
    return true;
}

}  // namespace

std::optional<std::string> FormatRegFile(const RegistrySnapshot& snapshot) {
    std::string text(kRegFileHeader);
    text += kCrLf;
    for (const SnapshotKey& key : snapshot.keys) {
        text += kCrLf;
        text += "[" + std::string(platform::HiveName(snapshot.hive)) + (key.path.empty() ? "" : "\\") + key.path + "]";
        text += kCrLf;
        for (const SnapshotValue& value : key.values) {
            if (Contains(value.name, "\r") || Contains(value.name, "\n")) return std::nullopt;
            text += value.name.empty() ? std::string("@") : Quoted(value.name);
            text += "=" + ValueData(value.value);
            text += kCrLf;
        }
    }
    text += kCrLf;
    return Utf16WithBom(text);
}

std::optional<RegistrySnapshot> ParseRegFile(std::string_view bytes) {
    const std::string text = FileText(bytes);
    std::vector<std::string> lines = SplitLines(text);
    if (lines.empty() || Trim(lines.front()) != kRegFileHeader) return std::nullopt;
    RegistrySnapshot snapshot;
    std::string pending;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        // A hex line may go on in the next line after a closing backslash.
        std::string line = pending + Trim(lines[i]);
        pending.clear();
        if (line.empty() || line.starts_with(';')) continue;
        if (line.back() == '\\' && !line.starts_with('[') && Contains(line, "=hex")) {
            line.pop_back();
            pending = line;
            continue;
        }
        const bool ok = line.starts_with('[') ? ReadKeyLine(line, snapshot, snapshot.keys.empty())
                                              : ReadValueLine(line, snapshot);
        if (!ok) return std::nullopt;
    }
    if (snapshot.keys.empty()) return std::nullopt;
    return snapshot;
}

}  // namespace bastion
