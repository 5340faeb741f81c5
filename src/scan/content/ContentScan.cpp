#include "scan/content/ContentScan.h"

#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "scan/state/DefinitionCounts.h"

namespace bastion {

bool LoadContentDefinitions(ScanContext& context, bool stoppable) {
    DefinitionTables& tables = context.tables;
    if (tables.ContentLoaded()) return true;
    ContentTable& table = tables.Content();
    table.Clear();
    const std::string path = DataFilePath(context.dataFolder, datafile::kContentDefinitions);
    DefinitionLines lines;
    if (!lines.Open(context.files, path)) {
        tables.MarkContentLoaded();
        return true;
    }
    // Counted first, so that the records are given their room once.
    table.Reserve(static_cast<std::size_t>(CountFileLines(context.files, path)),
                  static_cast<std::size_t>(context.files.FileSize(path).value_or(0)));
    std::string_view line;
    while (lines.Next(context.codePage, line)) {
        if (const std::optional<ContentLine> parsed = ParseContentDefinition(line)) {
            if (!table.Add(*parsed)) break;
        } else {
            table.CountRejected();
        }
        context.pump.Pump();
        // Part of a table would leave the rest unfound for the whole run
        // (the shield too): a stopped load is loaded again by whoever next
        // needs it.
        if (stoppable && context.state.StopRequested()) {
            table.Clear();
            return true;
        }
    }
    if (lines.Failed()) {
        table.Clear();
        return false;
    }
    table.Finish();
    tables.MarkContentLoaded();
    return true;
}

bool ContentLiesElsewhere(std::uint32_t attributes) {
    return (attributes & (platform::kAttrOffline | platform::kAttrRecallOnOpen | platform::kAttrRecallOnDataAccess)) !=
           0;
}

ContentVerdict IdentifyContent(ScanContext& context, const std::string& path, const platform::DirEntry& entry) {
    const ContentTable& table = context.tables.Content();
    if (!table.HasSize(entry.size)) return {};
    if (ContentLiesElsewhere(entry.attributes)) return {std::nullopt, false, true};
    const platform::ContentDigest digest = context.files.ContentSha256(
        path, [&table](std::uint64_t size) { return table.HasSize(size); },
        [&context] {
            context.pump.Pump();
            return !context.state.StopRequested();
        });
    switch (digest.end) {
        case platform::ContentHashEnd::Hashed: return {table.Find(digest.size, digest.sha256)};
        case platform::ContentHashEnd::Unreadable: return {std::nullopt, true};
        case platform::ContentHashEnd::OtherSize:
        case platform::ContentHashEnd::Abandoned: break;
    }
    return {};
}

bool MatchFoundContent(ScanContext& context, const std::string& path, const platform::DirEntry& entry) {
    if (!context.tables.Content().HasSize(entry.size) || context.safety.IsProtectedPath(path)) return false;
    const ContentVerdict verdict = IdentifyContent(context, path, entry);
    ScanState& state = context.state;
    if (verdict.unreadable) CountOne(state.counters.contentUnreadable);
    if (verdict.elsewhere) CountOne(state.counters.contentElsewhere);
    if (!verdict.match) return false;
    ReportFoundContent(context, path, *verdict.match);
    return true;
}

void ReportFoundContent(ScanContext& context, const std::string& path, const ContentTable::Match& match) {
    ScanState& state = context.state;
    if (context.exclusions.IsExcluded(path)) {
        state.AddExcluded(path);
        return;
    }
    state.CountTrace();
    state.ReportDetection(DetectionKind::File, std::string(match.threat), match.type, path, FileItem{path});
}

}  // namespace bastion
