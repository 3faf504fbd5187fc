#include "support/WeekFeeTotalsList.h"

#include <algorithm>

namespace TDInvoice {

TWeekFeeTotal::TWeekFeeTotal(const TEstFeeRow &Row)
    : WeekEnding(Row.WeekEnding), RowCount(1), Days(Row.Days) {
  std::copy(std::begin(Row.Amounts), std::end(Row.Amounts), Amounts);
}

TWeekFeeTotal::~TWeekFeeTotal() = default;

TWeekFeeTotalsList::TWeekFeeTotalsList() : TSortedObjectList(true) {
  SetCompare(TListCompare{&CompareWeekFeeTotals, this});
  SetOnDuplicate(TListDuplicateEvent{&MergeWeekFeeTotals, this});
  SetUnique(true);
}

TWeekFeeTotalsList::~TWeekFeeTotalsList() = default;

void TWeekFeeTotalsList::AddFeeRows(const TEstFeesRowsList &Rows) {
  for (std::int32_t i = 0; i < Rows.Count(); ++i) {
    auto *total = new TWeekFeeTotal(*Rows.Row(i));
    try {
      Add(total);
    } catch (...) {
      if (IndexOf(total) < 0)
        delete total;
      throw;
    }
  }
}

int TWeekFeeTotalsList::CompareWeekFeeTotals(void *, TObject *Item1, TObject *Item2) {
  const std::int32_t a = static_cast<const TWeekFeeTotal *>(Item1)->WeekEnding;
  const std::int32_t b = static_cast<const TWeekFeeTotal *>(Item2)->WeekEnding;
  return a < b ? -1 : (a > b ? 1 : 0);
}

void TWeekFeeTotalsList::MergeWeekFeeTotals(void *, TSortedObjectList *, TObject *NewItem,
                                            TObject *ExistingItem) {
  const auto *fresh = static_cast<const TWeekFeeTotal *>(NewItem);
  auto *existing = static_cast<TWeekFeeTotal *>(ExistingItem);
  ++existing->RowCount;
  mergeFeeColumns(existing->Days, existing->Amounts, fresh->Days, fresh->Amounts);
}

} // namespace TDInvoice
