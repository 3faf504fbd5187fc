#include "support/LocationLookup.h"

namespace TDInvoice {

std::string careTypeAbbrev(int CareType) {
  static const char *const kAbbrevs[] = {"REG", "ASC", "BSC", "VAC", "LDC", "OCC"};
  if (CareType >= 0 && CareType < 6)
    return kAbbrevs[CareType];
  return "UNK";
}

int locationCount(const TLocationTable *Table, TCareTypeSet Filter) {
  if (!Table)
    return 0;
  int count = 0;
  for (const TLocationRec *location : Table->Locations) {
    if (!location)
      break;
    if (Filter == 0 || (careTypeBit(location->CareType) & Filter))
      ++count;
  }
  return count;
}

const TLocationRec *findLocation(const TLocationTable *Table, std::int32_t LocationID) {
  if (!Table)
    return nullptr;
  for (const TLocationRec *location : Table->Locations) {
    if (!location)
      break;
    if (location->LocationID == LocationID)
      return location;
  }
  return nullptr;
}

std::string locationName(const TLocationTable *Table, std::int32_t LocationID) {
  const TLocationRec *location = findLocation(Table, LocationID);
  return location ? location->name() : std::string();
}

std::string fundingLabel(const TLocationTable *Table, std::int32_t LocationID, int CareType) {
  const std::string abbrev = careTypeAbbrev(CareType);
  if (locationCount(Table) < 2)
    return abbrev;
  const TLocationRec *location = findLocation(Table, LocationID);
  if (!location)
    return abbrev;
  return location->name() + " - " + abbrev;
}

} // namespace TDInvoice
