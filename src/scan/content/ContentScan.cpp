#include "scan/content/ContentScan.h"

#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "scan/state/DefinitionCounts.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

void LoadContentDefinitions(ScanContext& context, bool stoppable) {
    DefinitionTables& tables = context.tables;
    if (tables.ContentLoaded()) return;
    ContentTable& table = tables.Content();
    table.Clear();
    const std::string path = DataFilePath(context.dataFolder, datafile::kContentDefinitions);
    DefinitionLines lines;
    if (!lines.Open(context.files, path)) {
        tables.MarkContentLoaded();
        return;
    }
    // Counted first, so that the records are given their room once.
    table.Reserve(static_cast<std::size_t>(CountFileLines(context.files, path)),
                  static_cast<std::size_t>(context.files.FileSize(path).value_or(0)));
    std::string_view line;
    while (lines.Next(context.codePage, line)) {
        if (const std::optional<ContentLine> parsed = ParseContentDefinition(line)) {
            if (!table.Add(*parsed)) break;
        }
        context.pump.Pump();
        // Part of a table would leave the rest unfound for the whole run
        // (the shield too): a stopped load is loaded again by whoever next
        // needs it.
        if (stoppable && context.state.StopRequested()) {
            table.Clear();
            return;
        }
    }
    table.Finish();
    tables.MarkContentLoaded();
}

ContentVerdict IdentifyContent(ScanContext& context, const std::string& path, std::uint64_t size) {
    const ContentTable& table = context.tables.Content();
    if (!table.HasSize(size)) return {};
    const std::optional<platform::Sha256Digest> digest = context.files.ContentSha256(path);
    if (!digest) return {std::nullopt, true};
    return {table.Find(size, *digest), false};
}

bool MatchFoundContent(ScanContext& context, const std::string& path, std::uint64_t size) {
    if (!context.tables.Content().HasSize(size) || context.safety.IsProtectedPath(path)) return false;
    const ContentVerdict verdict = IdentifyContent(context, path, size);
    ScanState& state = context.state;
    if (verdict.unreadable) CountOne(state.counters.contentUnreadable);
    if (!verdict.match) return false;
    if (context.exclusions.IsExcluded(path)) {
        state.AddExcludedRow(path);
        return true;
    }
    const std::string threat(verdict.match->threat);
    state.AddFileQueueRow(path, threat);
    state.IncrementTracesFound();
    state.ReportDetection(threat, path, std::string(verdict.match->type), ui::kIconFile);
    return true;
}

}  // namespace bastion
