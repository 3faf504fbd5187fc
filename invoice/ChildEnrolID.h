// One row of the enrolment-ID table under an invoice's account history: a child's care type
// and its enrolment ID, kept once per distinct triple.
#pragma once

#include "TDInvoice/Object.h"

#include <string>
#include <string_view>

namespace TDInvoice {

class TChildEnrolID : public TObject {
public:
  static constexpr std::size_t kChildNameMax = 51;
  static constexpr std::size_t kCodeMax = 15;

  // Each text is cut to its field's length (8-bit text, as the short strings hold it).
  TChildEnrolID(std::string_view ChildName, std::string_view CareTypeAbbrev,
                std::string_view EnrolmentId);
  ~TChildEnrolID() override;

  std::string ChildName;
  std::string CareTypeAbbrev;
  std::string EnrolmentId;
};

// The short-string order: bytes compared as unsigned values up to the shorter length, then
// the shorter first. Negative, 0 or positive.
int compareShortStrings(std::string_view a, std::string_view b);

} // namespace TDInvoice
