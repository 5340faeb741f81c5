// What the content definitions say of the files running programs were
// started from, remembered by path, size and last-write time: the memory
// shield looks every two seconds, and an image that stays as it was need
// not be read again. The shield hashes on a worker: it takes no window
// event while it looks, and a large image would hold the window as long as
// it is read.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "scan/ScanContext.h"

namespace bastion {

class ImageContent {
public:
    enum class Verdict {
        Known,    // a content definition's
        Unknown,  // no definition's, or it could not be read
        Pending,  // being hashed on a worker: asked again, it may be known
    };

    // The image's verdict: remembered, or found now. A scan hashes at once
    // (pumping the window between pieces); the shield (onWorker) starts a
    // hash on a worker and learns its end when it asks again. A protected
    // image is never read.
    Verdict Look(ScanContext& context, const std::string& path, bool onWorker);
    // Forgets the images not looked at since the last call, so that what is
    // kept follows the programs that run.
    void ForgetUnseen();

private:
    struct Image {
        platform::FileStamp stamp;
        // The content table's load the verdict holds for.
        std::uint64_t tableLoad = 0;
        std::optional<bool> known;
        std::unique_ptr<platform::PendingContentHash> pending;
        bool seen = false;
    };
    std::map<std::string, Image> images_;
};

}  // namespace bastion
