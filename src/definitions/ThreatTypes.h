// The fixed catalogue of threat types: the risk and the one-line description
// the user sees for a definition's TYPE. Definitions cannot add types.
#pragma once

#include <span>
#include <string_view>

#include "ui/forms/ListView.h"

namespace bastion {

struct ThreatType {
    std::string_view type;
    std::string_view risk;
    std::string_view details;
};

// The catalogue in the order it is searched.
std::span<const ThreatType> ThreatTypeCatalogue();

// The entry for the type, compared exactly (case included); nullptr for a
// type the catalogue lacks. The empty type has an entry of its own.
const ThreatType* FindThreatType(std::string_view type);

// For every row of the results list: the type in sub-item 2 gives the risk
// (sub-item 3) and the description (sub-item 4). A type the catalogue lacks
// leaves both as they are.
void FillThreatRisks(ui::ListView& results);

}  // namespace bastion
