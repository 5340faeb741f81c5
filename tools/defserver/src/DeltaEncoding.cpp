#include "DeltaEncoding.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "common/Text.h"
#include "definitions/DefinitionCodec.h"
#include "update/DefinitionDelta.h"

namespace defserver {

namespace {

constexpr std::array<std::string_view, 12> kKinds{"FILE",  "EXE",  "DLL",  "REG",  "COOK", "DIR", "CONTENT",
                                                  "SFILE", "SEXE", "SDLL", "SREG", "SDIR"};

// Shifted, with "|" and "=" left plain.
std::string EncodeBody(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += (c == '|' || c == '=') ? std::string(1, c) : bastion::EncodeDefinitionText(std::string_view(&c, 1));
    }
    return out;
}

std::string Location(const std::string& text) { return text.substr(0, text.rfind('=')); }

std::string Body(const Change& change) {
    if (change.kind != "REG") return EncodeBody(change.text);
    // K=V|P1|P2: the client stores P1 "^=" V "|" P2 and deletes by K, the
    // stored line's text before its first "=".
    const std::string location = Location(change.text);
    std::string key = location + "^";
    key = key.substr(0, key.find('='));
    if (!change.add) return bastion::EncodeDefinitionText(key);
    const std::string threat = change.text.substr(change.text.rfind('=') + 1);
    const std::size_t bar = threat.find('|');
    const std::string name = threat.substr(0, bar);
    const std::string type = bar == std::string::npos ? "" : threat.substr(bar + 1);
    return bastion::EncodeDefinitionText(key) + "=" + bastion::EncodeDefinitionText(name) + "|" +
           bastion::EncodeDefinitionText(location) + "|" + bastion::EncodeDefinitionText(type);
}

}  // namespace

std::string CheckChange(const Change& change) {
    if (std::find(kKinds.begin(), kKinds.end(), change.kind) == kKinds.end()) return "unknown kind " + change.kind;
    if (bastion::Trim(change.text).empty()) return "no definition";
    if (change.add && change.kind == "REG" && change.text.find('=') == std::string::npos) {
        return "a registry definition names its threat after \"=\"";
    }
    for (char c : change.text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32) return "a control character cannot be sent";
        if (u == '<' || u == 252 || u == 201 || u == 204) {
            return "the character of code " + std::to_string(u) + " cannot be sent";
        }
    }
    const std::string record = EncodeRecord(change);
    if (bastion::ContainsIgnoreCase(record, "[BR]") || bastion::Contains(record.substr(record.find("[DEF]") + 5), "[DEF]")) {
        return "the definition cannot be sent: it encodes as a separator";
    }
    return {};
}

std::string EncodeRecord(const Change& change) {
    return bastion::EncodeDefinitionText(change.kind) + (change.add ? "|ADD" : "|DEL") + "[DEF]" + Body(change);
}

std::size_t FirstSetAfter(const ChangeLog& log, const bastion::DateTime& since) {
    const auto first = std::upper_bound(log.sets.begin(), log.sets.end(), since,
                                        [](const bastion::DateTime& date, const ChangeSet& set) { return date < set.date; });
    return static_cast<std::size_t>(first - log.sets.begin());
}

void AppendRecords(const ChangeLog& log, std::size_t first, std::string& out) {
    bool any = false;
    for (std::size_t i = first; i < log.sets.size(); ++i) {
        for (const Change& change : log.sets[i].changes) {
            if (std::exchange(any, true)) out += "[BR]";
            out += EncodeRecord(change);
        }
    }
}

std::size_t RecordsLength(const ChangeLog& log, std::size_t first) {
    std::size_t length = 0;
    for (std::size_t i = first; i < log.sets.size(); ++i) {
        for (const Change& change : log.sets[i].changes) length += EncodeRecord(change).size() + 4;
    }
    return length;
}

std::size_t RecordCount(const ChangeLog& log, std::size_t first) {
    std::size_t count = 0;
    for (std::size_t i = first; i < log.sets.size(); ++i) count += log.sets[i].changes.size();
    return count;
}

std::string DeltaSince(const ChangeLog& log, const bastion::DateTime& since) {
    std::string delta;
    AppendRecords(log, FirstSetAfter(log, since), delta);
    return delta;
}

std::vector<std::pair<std::string, std::string>> StarterFiles(const ChangeLog& log) {
    const bastion::ParsedDelta parsed = bastion::ParseDefinitionDelta(DeltaSince(log, EmptyLogDate()));
    std::vector<std::pair<std::string, std::string>> files;
    for (std::size_t file = 0; file < bastion::kDeltaFileCount; ++file) {
        files.emplace_back(std::string(bastion::DeltaFileName(file)),
                           bastion::ApplyFileChange(bastion::PlanFileChange(parsed, file), "").content);
    }
    files.emplace_back("date.dat", bastion::FormatGeneralDate(LatestDate(log)) + "\r\n");
    return files;
}

}  // namespace defserver
