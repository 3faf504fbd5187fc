// Rows of the estimated-fees grid: one per week, child, session type and charge type, with
// an amount per weekday column (Monday..Friday; weekend charges count as Friday's).
#pragma once

#include "TDInvoice/InvHistList.h"
#include "TDInvoice/SortedObjectList.h"

#include <cstdint>

namespace TDInvoice {

// A set of weekday columns 0..4 (Monday..Friday), one bit per column.
using TDaySet = std::uint8_t;
constexpr int kFeeColumns = 5;
constexpr TDaySet dayBit(int Column) { return static_cast<TDaySet>(1u << Column); }

// Adds Source's amounts to Target's for every column in SourceDays and unites the sets.
void mergeFeeColumns(TDaySet &TargetDays, TCurrency (&TargetAmounts)[kFeeColumns],
                     TDaySet SourceDays, const TCurrency (&SourceAmounts)[kFeeColumns]);

class TEstFeeRow : public TObject {
public:
  TEstFeeRow() = default;
  // A row holding one charge: the week ending on the Sunday after SessionDate, in the
  // column of its weekday.
  TEstFeeRow(std::int32_t SessionDate, std::int32_t ChildID, std::int32_t SessTypeID,
             std::int32_t ChargeID, TCurrency Amount);
  ~TEstFeeRow() override;

  // Monday..Thursday give 0..3; Friday, Saturday and Sunday give 4.
  static int columnOf(std::int32_t SessionDate);

  std::int32_t WeekEnding = 0;
  std::int32_t ChildID = 0;
  std::int32_t SessTypeID = 0;
  std::int32_t ChargeID = 0;
  TDaySet Days = 0;
  TCurrency Amounts[kFeeColumns] = {};
};

// Sorted by (WeekEnding, ChildID, SessTypeID, ChargeID), unique; an equal row is merged into
// the present one and freed.
class TEstFeesRowsList : public TSortedObjectList {
public:
  TEstFeesRowsList();
  ~TEstFeesRowsList() override;

  TEstFeeRow *Row(std::int32_t Index) const { return static_cast<TEstFeeRow *>(Items(Index)); }

  static int CompareEstFeeRows(void *Self, TObject *Item1, TObject *Item2);
  static void MergeEstFeeRows(void *Self, TSortedObjectList *Sender, TObject *NewItem,
                              TObject *ExistingItem);
};

} // namespace TDInvoice
