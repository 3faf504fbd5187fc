#include "LeakCheck.h"

#include "support/DateRoutines.h"
#include "support/WeekFeeTotalsList.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace TDInvoice {
namespace {

using Testing::LeakCheckedTest;

// Monday 3 January 2000 and the days of that week.
constexpr std::int32_t kMonday = 36528;
constexpr std::int32_t kSunday = kMonday + 6;
constexpr TCurrency kDollar = 10000;

using Amounts = std::array<TCurrency, kFeeColumns>;

Amounts amountsOf(const TCurrency (&a)[kFeeColumns]) {
  Amounts out{};
  for (int i = 0; i < kFeeColumns; ++i)
    out[i] = a[i];
  return out;
}

void addCharge(TEstFeesRowsList &rows, std::int32_t date, std::int32_t child, std::int32_t sess,
               std::int32_t charge, TCurrency amount) {
  rows.Add(new TEstFeeRow(date, child, sess, charge, amount));
}

class FeeListsTest : public LeakCheckedTest {};

TEST_F(FeeListsTest, AChargeLandsInTheColumnOfItsWeekday) {
  struct Case {
    std::int32_t date;
    int column;
    std::int32_t weekEnding;
  } cases[] = {
      {kMonday, 0, kSunday},     {kMonday + 1, 1, kSunday},     {kMonday + 3, 3, kSunday},
      {kMonday + 4, 4, kSunday}, {kMonday + 5, 4, kSunday}, // Saturday: Friday's column
      {kSunday, 4, kSunday},     {kSunday + 1, 0, kSunday + 7},
  };
  for (const Case &c : cases) {
    TEstFeeRow row(c.date, 1, 2, 3, 5 * kDollar);
    EXPECT_EQ(row.WeekEnding, c.weekEnding) << c.date;
    EXPECT_EQ(row.Days, dayBit(c.column)) << c.date;
    Amounts expected{};
    expected[c.column] = 5 * kDollar;
    EXPECT_EQ(amountsOf(row.Amounts), expected) << c.date;
  }
}

TEST_F(FeeListsTest, EqualKeysMergeColumnByColumn) {
  TEstFeesRowsList rows;
  addCharge(rows, kMonday, 7, 1, 1, 30 * kDollar + 5);
  addCharge(rows, kMonday + 2, 7, 1, 1, 12 * kDollar);
  addCharge(rows, kMonday + 2, 7, 1, 1, 1);           // same day: summed into the column
  addCharge(rows, kMonday + 5, 7, 1, 1, 2 * kDollar); // Saturday
  addCharge(rows, kSunday, 7, 1, 1, 3 * kDollar);
  addCharge(rows, kMonday + 4, 7, 1, 1, 4 * kDollar); // Friday
  ASSERT_EQ(rows.Count(), 1);
  const TEstFeeRow *row = rows.Row(0);
  EXPECT_EQ(row->Days, dayBit(0) | dayBit(2) | dayBit(4));
  EXPECT_EQ(amountsOf(row->Amounts),
            (Amounts{30 * kDollar + 5, 0, 12 * kDollar + 1, 0, 9 * kDollar}));
}

TEST_F(FeeListsTest, RowsAreOrderedByWeekChildSessionAndCharge) {
  TEstFeesRowsList rows;
  struct Key {
    std::int32_t date, child, sess, charge;
  };
  const std::vector<Key> keys = {{kMonday + 7, 1, 1, 1}, {kMonday, 2, 1, 1}, {kMonday, 1, 2, 1},
                                 {kMonday, 1, 1, 2},     {kMonday, 1, 1, 1}, {kMonday, -1, 9, 9}};
  for (const Key &k : keys)
    addCharge(rows, k.date, k.child, k.sess, k.charge, kDollar);
  std::vector<std::array<std::int32_t, 4>> order;
  for (int i = 0; i < rows.Count(); ++i) {
    const TEstFeeRow *r = rows.Row(i);
    order.push_back({r->WeekEnding, r->ChildID, r->SessTypeID, r->ChargeID});
  }
  const std::vector<std::array<std::int32_t, 4>> expected = {
      {kSunday, -1, 9, 9}, {kSunday, 1, 1, 1}, {kSunday, 1, 1, 2},
      {kSunday, 1, 2, 1},  {kSunday, 2, 1, 1}, {kSunday + 7, 1, 1, 1}};
  EXPECT_EQ(order, expected);
}

TEST_F(FeeListsTest, WeeklyTotalsCountRowsAndSumColumns) {
  TEstFeesRowsList rows;
  addCharge(rows, kMonday, 1, 1, 1, 10 * kDollar);
  addCharge(rows, kMonday + 1, 2, 1, 1, 20 * kDollar);
  addCharge(rows, kMonday + 1, 3, 4, 1, 1);
  addCharge(rows, kMonday + 8, 1, 1, 1, 7 * kDollar); // next week, Tuesday
  TWeekFeeTotalsList totals;
  totals.AddFeeRows(rows);
  ASSERT_EQ(totals.Count(), 2);
  const TWeekFeeTotal *first = totals.Total(0);
  EXPECT_EQ(first->WeekEnding, kSunday);
  EXPECT_EQ(first->RowCount, 3);
  EXPECT_EQ(first->Days, dayBit(0) | dayBit(1));
  EXPECT_EQ(amountsOf(first->Amounts), (Amounts{10 * kDollar, 20 * kDollar + 1, 0, 0, 0}));
  const TWeekFeeTotal *second = totals.Total(1);
  EXPECT_EQ(second->WeekEnding, kSunday + 7);
  EXPECT_EQ(second->RowCount, 1);
  EXPECT_EQ(amountsOf(second->Amounts), (Amounts{0, 7 * kDollar, 0, 0, 0}));

  // Refilling after a clear starts from nothing.
  rows.Clear();
  totals.Clear();
  addCharge(rows, kMonday, 1, 1, 1, kDollar);
  totals.AddFeeRows(rows);
  ASSERT_EQ(totals.Count(), 1);
  EXPECT_EQ(totals.Total(0)->RowCount, 1);
}

TEST_F(FeeListsTest, MergingIsExactForLargeAmounts) {
  TEstFeesRowsList rows;
  const TCurrency big = 900'000'000'000'000'000; // 90 trillion dollars in ten-thousandths
  addCharge(rows, kMonday, 1, 1, 1, big);
  addCharge(rows, kMonday, 1, 1, 1, 7);
  addCharge(rows, kMonday, 1, 1, 1, -3);
  ASSERT_EQ(rows.Count(), 1);
  EXPECT_EQ(rows.Row(0)->Amounts[0], big + 4);
}

} // namespace
} // namespace TDInvoice
