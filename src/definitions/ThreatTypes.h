// The fixed catalogue of threat types: the risk and the one-line description
// the user sees for a definition's TYPE. Definitions cannot add types.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace bastion {

struct ThreatTypeEntry {
    std::string_view type;
    std::string_view risk;
    std::string_view details;
};

// A definition's TYPE and what the catalogue says of it. A type the
// catalogue lacks keeps its name and has neither risk nor description.
struct ThreatType {
    std::string name;
    std::string risk;
    std::string details;
    friend bool operator==(const ThreatType&, const ThreatType&) = default;
};

// The catalogue in the order it is searched.
std::span<const ThreatTypeEntry> ThreatTypeCatalogue();

// The entry for the type, compared exactly (case included); nullptr for a
// type the catalogue lacks. The empty type has an entry of its own.
const ThreatTypeEntry* FindThreatType(std::string_view type);

ThreatType ThreatTypeOf(std::string_view type);

}  // namespace bastion
