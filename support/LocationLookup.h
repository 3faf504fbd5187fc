// Lookups on the host's locations table: counts, names and the funding labels printed for
// funding keys (LocationID x 256 + care type).
#pragma once

#include "TDInvoice/LocationTable.h"

#include <cstdint>
#include <string>

namespace TDInvoice {

// A set of care type codes 0..7, one bit per code; empty means every care type.
using TCareTypeSet = std::uint8_t;
constexpr TCareTypeSet careTypeBit(int CareType) {
  return CareType >= 0 && CareType <= 7 ? static_cast<TCareTypeSet>(1u << CareType) : 0;
}

// "REG", "ASC", "BSC", "VAC", "LDC", "OCC" for 0..5, "UNK" for any other code.
std::string careTypeAbbrev(int CareType);

// Used entries (up to the first empty one, at most 12) whose care type is in Filter; with
// an empty filter every used entry counts. A null table has no locations.
int locationCount(const TLocationTable *Table, TCareTypeSet Filter = 0);

// The first used entry with this LocationID, or nullptr.
const TLocationRec *findLocation(const TLocationTable *Table, std::int32_t LocationID);

// The found entry's name; empty when there is none.
std::string locationName(const TLocationTable *Table, std::int32_t LocationID);

// The care type's abbreviation alone when the table holds fewer than 2 locations, else
// "<name> - <abbreviation>". A LocationID missing from a larger table also gets the
// abbreviation alone, rather than a label with an empty name.
std::string fundingLabel(const TLocationTable *Table, std::int32_t LocationID, int CareType);

} // namespace TDInvoice
