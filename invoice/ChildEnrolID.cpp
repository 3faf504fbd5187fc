#include "invoice/ChildEnrolID.h"

#include <algorithm>

namespace TDInvoice {

TChildEnrolID::TChildEnrolID(std::string_view ChildName, std::string_view CareTypeAbbrev,
                             std::string_view EnrolmentId)
    : ChildName(ChildName.substr(0, kChildNameMax)),
      CareTypeAbbrev(CareTypeAbbrev.substr(0, kCodeMax)),
      EnrolmentId(EnrolmentId.substr(0, kCodeMax)) {}

TChildEnrolID::~TChildEnrolID() = default;

int compareShortStrings(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y)
      return x < y ? -1 : 1;
  }
  if (a.size() == b.size())
    return 0;
  return a.size() < b.size() ? -1 : 1;
}

} // namespace TDInvoice
