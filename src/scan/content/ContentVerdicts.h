// What the content definitions say of files a shield looks at again and
// again, remembered by path, size and last-write time: the memory shield
// looks at the running programs' images every two seconds, and the file
// shield at a file until its hash has ended. A file that stays as it was
// need not be read again. A shield hashes on a worker: it takes no window
// event while it looks, and a large file would hold the window as long as
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

class ContentVerdicts {
public:
    enum class Verdict {
        Known,    // a content definition's
        Unknown,  // no definition's, or it could not be read
        Pending,  // being hashed on a worker: asked again, it may be known
    };
    struct Answer {
        Verdict verdict = Verdict::Unknown;
        // The definition, when Known; it lies in the content table and
        // holds until the table is loaded again.
        std::optional<ContentTable::Match> match;
    };

    // The file's verdict: remembered, or found now. A scan hashes at once
    // (pumping the window between pieces); a shield (onWorker) starts a
    // hash on a worker and learns its end when it asks again. A file whose
    // stamp changed since is hashed afresh. A protected file is never read.
    Answer Look(ScanContext& context, const std::string& path, bool onWorker);
    // Forgets the files not looked at since the last call, so that what is
    // kept follows the programs that run.
    void ForgetUnseen();
    // Forgets the file (a hash under way is abandoned).
    void Forget(const std::string& path);

private:
    struct Remembered {
        platform::FileStamp stamp;
        // The content table's load the verdict holds for.
        std::uint64_t tableLoad = 0;
        bool decided = false;
        std::optional<ContentTable::Match> match;
        std::unique_ptr<platform::PendingContentHash> pending;
        bool seen = false;
    };
    std::map<std::string, Remembered> files_;
};

}  // namespace bastion
