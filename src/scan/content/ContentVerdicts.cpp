#include "scan/content/ContentVerdicts.h"

#include "common/Text.h"
#include "scan/content/ContentScan.h"

namespace bastion {

namespace {

using Verdict = ContentVerdicts::Verdict;

ContentVerdicts::Answer AnswerOf(const std::optional<ContentTable::Match>& match) {
    return {match ? Verdict::Known : Verdict::Unknown, match};
}

}  // namespace

ContentVerdicts::Answer ContentVerdicts::Look(ScanContext& context, const std::string& path, bool onWorker) {
    const ContentTable& table = context.tables.Content();
    const std::optional<platform::FileStamp> stamp = context.files.Stamp(path);
    if (!stamp || !table.HasSize(stamp->size) || context.safety.IsProtectedPath(path)) return {};

    Remembered& file = files_[ToLower(path)];
    file.seen = true;
    const std::uint64_t tableLoad = context.tables.ContentLoads();
    if (file.stamp != *stamp || file.tableLoad != tableLoad) file = {*stamp, tableLoad, false, {}, nullptr, true};
    if (file.decided) return AnswerOf(file.match);

    if (!onWorker) {
        const ContentVerdict verdict = IdentifyContent(context, path, platform::DirEntry{{}, 0, stamp->size});
        // A scan stopped meanwhile has abandoned the hash: it says nothing.
        if (!context.state.StopRequested()) {
            file.decided = true;
            file.match = verdict.match;
        }
        return AnswerOf(verdict.match);
    }
    if (!file.pending) {
        file.pending = context.files.StartContentSha256(path, stamp->size);
        if (!file.pending) return {};
    }
    const std::optional<platform::ContentDigest> digest = file.pending->Result();
    if (!digest) return {Verdict::Pending, std::nullopt};
    file.pending.reset();
    switch (digest->end) {
        case platform::ContentHashEnd::Hashed:
            file.decided = true;
            file.match = table.Find(digest->size, digest->sha256);
            break;
        // Not read now, not read at every look: the next change of the file
        // gives it another try.
        case platform::ContentHashEnd::Unreadable: file.decided = true; break;
        // Nothing said of the content the stamp stands for (the file changed
        // meanwhile, or the hash was abandoned): hashed again when asked.
        case platform::ContentHashEnd::OtherSize:
        case platform::ContentHashEnd::Abandoned: break;
    }
    return AnswerOf(file.match);
}

void ContentVerdicts::ForgetUnseen() {
    for (auto it = files_.begin(); it != files_.end();) {
        if (!it->second.seen) {
            it = files_.erase(it);
        } else {
            it->second.seen = false;
            ++it;
        }
    }
}

void ContentVerdicts::Forget(const std::string& path) { files_.erase(ToLower(path)); }

}  // namespace bastion
