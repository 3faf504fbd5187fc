// The six host callback slots of a report form, in slot order. Each is a plain function
// address, empty until the host sets it.
#pragma once

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/InvoiceReport.h"

#include <string>

namespace TDInvoice::Intake {

struct THostCallbacks {
  TOnGetLocations OnGetLocations = nullptr;
  TOnGetDataPacket OnGetDataPacket = nullptr;
  TOnGetInvoiceMessage OnGetInvoiceMessage = nullptr;
  TOnGetFamilyChildren OnGetFamilyChildren = nullptr;
  TOnGetInvoiceFundingKeys OnGetInvoiceFundingKeys = nullptr;
  TOnFillInvoiceHistory OnFillInvoiceHistory = nullptr;
};

// The callback itself; an empty slot raises Exception "<name> is not set" instead of a call
// through a null address.
template <class F> F requireCallback(F callback, const char *name) {
  if (!callback)
    throw Exception(std::string(name) + " is not set");
  return callback;
}

} // namespace TDInvoice::Intake
