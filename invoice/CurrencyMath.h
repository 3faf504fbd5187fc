// Exact sums of currency amounts (x 10000). A sum beyond the 64-bit range is an error, never a
// wrapped amount on an invoice.
#pragma once

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/InvHistList.h"

namespace TDInvoice {

inline TCurrency addCurrency(TCurrency a, TCurrency b) {
  TCurrency sum = 0;
  if (__builtin_add_overflow(a, b, &sum))
    throw Exception("An invoice amount is out of the currency range");
  return sum;
}

inline TCurrency subtractCurrency(TCurrency a, TCurrency b) {
  TCurrency difference = 0;
  if (__builtin_sub_overflow(a, b, &difference))
    throw Exception("An invoice amount is out of the currency range");
  return difference;
}

} // namespace TDInvoice
