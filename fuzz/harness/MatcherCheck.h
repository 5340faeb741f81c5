// The folder-walk matchers over tables loaded from fuzzed definitions: the
// places the first rows name, walked through the indexed matchers and
// through a plain pass over every row, must give the same rows.
#pragma once

#include "harness/FuzzMachine.h"

namespace bastion::fuzz {

enum class WalkedKind { Files, Folders };

void CheckMatchersAgree(FuzzMachine& machine, WalkedKind kind);

}  // namespace bastion::fuzz
