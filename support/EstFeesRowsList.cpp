#include "support/EstFeesRowsList.h"

#include "support/DateRoutines.h"

namespace TDInvoice {
namespace {

int compareInts(std::int32_t a, std::int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

} // namespace

void mergeFeeColumns(TDaySet &TargetDays, TCurrency (&TargetAmounts)[kFeeColumns],
                     TDaySet SourceDays, const TCurrency (&SourceAmounts)[kFeeColumns]) {
  TargetDays = static_cast<TDaySet>(TargetDays | SourceDays);
  for (int column = 0; column < kFeeColumns; ++column)
    if (SourceDays & dayBit(column))
      TargetAmounts[column] += SourceAmounts[column];
}

TEstFeeRow::TEstFeeRow(std::int32_t SessionDate, std::int32_t ChildID, std::int32_t SessTypeID,
                       std::int32_t ChargeID, TCurrency Amount)
    : WeekEnding(WeekEndingSunday(SessionDate)), ChildID(ChildID), SessTypeID(SessTypeID),
      ChargeID(ChargeID) {
  const int column = columnOf(SessionDate);
  Days = dayBit(column);
  Amounts[column] = Amount;
}

TEstFeeRow::~TEstFeeRow() = default;

int TEstFeeRow::columnOf(std::int32_t SessionDate) {
  const std::int32_t weekday = DayOfWeekMondayFirst(SessionDate);
  return weekday <= 4 ? weekday - 1 : 4;
}

TEstFeesRowsList::TEstFeesRowsList() : TSortedObjectList(true) {
  SetCompare(TListCompare{&CompareEstFeeRows, this});
  SetOnDuplicate(TListDuplicateEvent{&MergeEstFeeRows, this});
  SetUnique(true);
}

TEstFeesRowsList::~TEstFeesRowsList() = default;

int TEstFeesRowsList::CompareEstFeeRows(void *, TObject *Item1, TObject *Item2) {
  const auto *a = static_cast<const TEstFeeRow *>(Item1);
  const auto *b = static_cast<const TEstFeeRow *>(Item2);
  if (const int c = compareInts(a->WeekEnding, b->WeekEnding))
    return c;
  if (const int c = compareInts(a->ChildID, b->ChildID))
    return c;
  if (const int c = compareInts(a->SessTypeID, b->SessTypeID))
    return c;
  return compareInts(a->ChargeID, b->ChargeID);
}

void TEstFeesRowsList::MergeEstFeeRows(void *, TSortedObjectList *, TObject *NewItem,
                                       TObject *ExistingItem) {
  const auto *fresh = static_cast<const TEstFeeRow *>(NewItem);
  auto *existing = static_cast<TEstFeeRow *>(ExistingItem);
  mergeFeeColumns(existing->Days, existing->Amounts, fresh->Days, fresh->Amounts);
}

} // namespace TDInvoice
