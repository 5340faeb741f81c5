// ApplyDefinitionDelta: the incremental update, parsed (and verified when
// the build names a key), put into the definition files of the data folder. Each file is rewritten beside itself and renamed
// over the original, so that it ends either as before or as after the
// update; applying the same delta again changes nothing.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "update/DefinitionDelta.h"

namespace bastion {

struct DeltaProgress {
    // "Applying new updates..." after each file's records, "Removing
    // outdated definitions: checking entry N" every hundred lines of a file
    // that loses lines.
    std::function<void(const std::string& status)> status;
    // Asked between files: true ends the application there.
    std::function<bool()> stopRequested;
};

struct DeltaApplication {
    // The changes made: definitions added that were not there, and
    // definitions removed.
    int count = 0;
    // Every file is in place: none failed to be read or written and no stop
    // came first. Only then may the definition date advance.
    bool complete = true;
    // A definition file could not be read or written (a full disk, a lock).
    bool fileFailed = false;
    // The file, directory or content definitions changed (the tables in
    // memory hold the old ones).
    bool walkDefinitionsChanged = false;
};

DeltaApplication ApplyDefinitionDelta(platform::FileSystem& files, std::string_view dataFolder,
                                      const ParsedDelta& parsed, const DeltaProgress& progress = {});

}  // namespace bastion
