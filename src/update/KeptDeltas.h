// The verified deltas a program with the vendor's key keeps beside its
// definitions, each as it arrived, signature and all: a run that must not
// trust the definition files (any program of the user may edit them)
// builds its definitions from the starter set and these, each verified
// again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/DateTime.h"
#include "platform/FileSystem.h"
#include "update/DefinitionTrust.h"
#include "update/DefinitionDelta.h"

namespace bastion {

// The folder in the data folder that holds them.
inline constexpr std::string_view kKeptDeltasFolder = "SignedDeltas";

// Keeps a delta (the answer as it arrived), named by its dates, and lets
// go of the kept ones it makes needless: those from its from on, which it
// holds every change of. False when it could not be written.
bool KeepVerifiedDelta(platform::FileSystem& files, std::string_view dataFolder, std::string_view answer);

struct KeptDelta {
    std::string name;
    DateTime from;
    DateTime to;
    ParsedDelta parsed;
};

struct KeptDeltas {
    // Those the key verifies and whose header and count hold.
    std::vector<KeptDelta> verified;
    // The names of the others.
    std::vector<std::string> refused;
};

KeptDeltas ReadKeptDeltas(platform::FileSystem& files, std::string_view dataFolder, const DefinitionTrust& trust);

}  // namespace bastion
