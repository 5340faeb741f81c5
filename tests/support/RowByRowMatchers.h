// The folder-walk matchers as a plain pass over every table row from row 0,
// without the index: the reference the indexed matchers must agree with,
// row for row, and the baseline of their benchmarks.
#pragma once

#include <string_view>

#include "scan/ScanContext.h"

namespace bastion::testing {

void RowByRowMatchFoundFile(ScanContext& context, std::string_view path);
void RowByRowMatchFoundDirectory(ScanContext& context, std::string_view path);

}  // namespace bastion::testing
