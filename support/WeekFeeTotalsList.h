// One total per week of the estimated-fees grid, merged from the week's fee rows.
#pragma once

#include "support/EstFeesRowsList.h"

namespace TDInvoice {

class TWeekFeeTotal : public TObject {
public:
  TWeekFeeTotal() = default;
  // A one-row total copied from Row.
  explicit TWeekFeeTotal(const TEstFeeRow &Row);
  ~TWeekFeeTotal() override;

  std::int32_t WeekEnding = 0;
  std::int32_t RowCount = 0;
  TDaySet Days = 0;
  TCurrency Amounts[kFeeColumns] = {};
};

// Sorted by WeekEnding, unique; an equal week's total is merged (RowCount + 1, column sums).
class TWeekFeeTotalsList : public TSortedObjectList {
public:
  TWeekFeeTotalsList();
  ~TWeekFeeTotalsList() override;

  TWeekFeeTotal *Total(std::int32_t Index) const {
    return static_cast<TWeekFeeTotal *>(Items(Index));
  }

  // Adds a one-row total for every row of Rows, in list order.
  void AddFeeRows(const TEstFeesRowsList &Rows);

  static int CompareWeekFeeTotals(void *Self, TObject *Item1, TObject *Item2);
  static void MergeWeekFeeTotals(void *Self, TSortedObjectList *Sender, TObject *NewItem,
                                 TObject *ExistingItem);
};

} // namespace TDInvoice
