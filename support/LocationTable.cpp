#include "TDInvoice/LocationTable.h"

namespace TDInvoice {

TLocationTable::~TLocationTable() {
  // Entries after an empty one are not part of the table, yet still the table's to free.
  for (TLocationRec *&location : Locations) {
    delete location;
    location = nullptr;
  }
}

} // namespace TDInvoice
