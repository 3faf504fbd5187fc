// The bookings of a demo family in the two weeks after the close date: attendances the host
// has not yet turned into account entries, with their charges.
#pragma once

#include "host/demo/DemoFamily.h"

#include <QDate>

#include <vector>

namespace TDInvoice::Demo {

struct TDemoCharge {
  int chargeID;
  TCents amount;
};

struct TDemoAttendance {
  int attRecNo;
  int childID;
  int sessTypeID;
  QDate date;
  std::vector<TDemoCharge> charges;
};

// In date order. A family that leaves in the period has none.
std::vector<TDemoAttendance> makePendingAttendances(const TDemoFamily &family, TDemoRandom &random);

} // namespace TDInvoice::Demo
