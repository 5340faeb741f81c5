#include "scan/processes/ImageContent.h"

#include "common/Text.h"
#include "scan/content/ContentScan.h"

namespace bastion {

namespace {

// What a finished hash says; nullopt when it says nothing of the content
// the stamp stands for (the file changed meanwhile, or the hash was
// abandoned).
std::optional<bool> Known(const ContentTable& table, const platform::ContentDigest& digest) {
    switch (digest.end) {
        case platform::ContentHashEnd::Hashed: return table.Find(digest.size, digest.sha256).has_value();
        // Not read now, not read on every tick: the next change of the file
        // gives it another try.
        case platform::ContentHashEnd::Unreadable: return false;
        case platform::ContentHashEnd::OtherSize:
        case platform::ContentHashEnd::Abandoned: break;
    }
    return std::nullopt;
}

ImageContent::Verdict VerdictOf(bool known) {
    return known ? ImageContent::Verdict::Known : ImageContent::Verdict::Unknown;
}

}  // namespace

ImageContent::Verdict ImageContent::Look(ScanContext& context, const std::string& path, bool onWorker) {
    const ContentTable& table = context.tables.Content();
    const std::optional<platform::FileStamp> stamp = context.files.Stamp(path);
    if (!stamp || !table.HasSize(stamp->size) || context.safety.IsProtectedPath(path)) return Verdict::Unknown;

    Image& image = images_[ToLower(path)];
    image.seen = true;
    const std::uint64_t tableLoad = context.tables.ContentLoads();
    if (image.stamp != *stamp || image.tableLoad != tableLoad) image = {*stamp, tableLoad, std::nullopt, nullptr, true};
    if (image.known) return VerdictOf(*image.known);

    if (!onWorker) {
        const ContentVerdict verdict = IdentifyContent(context, path, platform::DirEntry{{}, 0, stamp->size});
        // A scan stopped meanwhile has abandoned the hash: it says nothing.
        if (!context.state.StopRequested()) image.known = verdict.match.has_value();
        return VerdictOf(verdict.match.has_value());
    }
    if (!image.pending) {
        image.pending = context.files.StartContentSha256(path, stamp->size);
        if (!image.pending) return Verdict::Unknown;
    }
    const std::optional<platform::ContentDigest> digest = image.pending->Result();
    if (!digest) return Verdict::Pending;
    image.pending.reset();
    image.known = Known(table, *digest);
    return VerdictOf(image.known.value_or(false));
}

void ImageContent::ForgetUnseen() {
    for (auto it = images_.begin(); it != images_.end();) {
        if (!it->second.seen) {
            it = images_.erase(it);
        } else {
            it->second.seen = false;
            ++it;
        }
    }
}

}  // namespace bastion
