#include "LeakCheck.h"

#include "TDInvoice/InvHistList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace TDInvoice {
namespace {

using Testing::LeakCheckedTest;

TInvHistItem *entry(std::int32_t kind, std::int32_t stamp, std::int32_t weekEnd = 0,
                    TCurrency amount = 0) {
  auto *item = new TInvHistItem;
  item->Kind = kind;
  item->Stamp = stamp;
  item->WeekEndDate = weekEnd;
  item->EntryAmount = amount;
  return item;
}

class InvHistListTest : public LeakCheckedTest {};

TEST_F(InvHistListTest, CompareOrdersByStampThenChargeWeeks) {
  struct Case {
    const char *what;
    std::int32_t kindA, stampA, weekA, kindB, stampB, weekB;
    int expected;
  } cases[] = {
      {"earlier stamp first", 3, 100, 0, 2, 200, 0, -1},
      {"later stamp after", 2, 300, 10, 2, 200, 99, 1},
      {"charges of one stamp by week", 2, 100, 36534, 2, 100, 36527, 1},
      {"same week charges equal", 2, 100, 36527, 2, 100, 36527, 0},
      {"other kinds of one stamp equal", 3, 100, 5, 5, 100, 9, 0},
      {"week ignored unless both charges", 1, 100, 9, 4, 100, 1, 0},
      {"charge after another kind of its stamp", 2, 100, 1, 3, 100, 9, 1},
      {"another kind before a charge of its stamp", 6, 100, 9, 2, 100, 1, -1},
      {"negative stamps compare signed", 3, -5, 0, 3, 5, 0, -1},
  };
  for (const Case &c : cases) {
    TInvHistItem a, b;
    a.Kind = c.kindA, a.Stamp = c.stampA, a.WeekEndDate = c.weekA;
    b.Kind = c.kindB, b.Stamp = c.stampB, b.WeekEndDate = c.weekB;
    EXPECT_EQ(TInvHistList::CompareInvHistItems(nullptr, &a, &b), c.expected) << c.what;
  }
}

// A payment posted with the same stamp as two charge lines must not split them out of week
// order, whatever order the host appended the entries in.
TEST_F(InvHistListTest, SortingKeepsChargeWeeksInOrderInEveryAppendOrder) {
  struct Spec {
    std::int32_t kind, stamp, week;
  };
  std::vector<Spec> specs = {{2, 500, 36541}, {2, 500, 36527}, {3, 500, 36530},
                             {2, 500, 36534}, {1, 100, 0},     {5, 900, 36600}};
  std::vector<int> order(specs.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    order[i] = static_cast<int>(i);
  do {
    TInvHistList list;
    for (int i : order)
      list.Add(entry(specs[i].kind, specs[i].stamp, specs[i].week));
    list.SortEntries();
    ASSERT_EQ(list.Count(), 6);
    std::vector<std::int32_t> chargeWeeks;
    for (int i = 0; i < list.Count(); ++i) {
      if (i > 0) {
        ASSERT_LE(list.Item(i - 1)->Stamp, list.Item(i)->Stamp);
      }
      if (list.Item(i)->Kind == kHistCharge)
        chargeWeeks.push_back(list.Item(i)->WeekEndDate);
    }
    ASSERT_EQ(chargeWeeks, (std::vector<std::int32_t>{36527, 36534, 36541}));
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(InvHistListTest, EqualEntriesAreAllKeptAndLaterAdditionsStaySorted) {
  TInvHistList list;
  list.Add(entry(3, 10, 0, 1));
  list.Add(entry(3, 10, 0, 2));
  list.Add(entry(3, 5, 0, 3));
  list.SortEntries();
  EXPECT_FALSE(list.unique());
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Item(0)->EntryAmount, 3);
  list.Add(entry(4, 7));
  EXPECT_EQ(list.Item(1)->Kind, 4);
}

TEST_F(InvHistListTest, PascalStringsRoundTripAndAreCutToTheirField) {
  TInvHistItem item;
  item.setCareTypeAbbrev("LDC");
  item.setEnrolmentId("ENR-0123456789ABCDEF"); // 20 characters, field holds 15
  EXPECT_EQ(item.careTypeAbbrev(), "LDC");
  EXPECT_EQ(item.CareTypeAbbrev[0], 3);
  EXPECT_EQ(item.enrolmentId(), "ENR-0123456789A");
  EXPECT_EQ(item.EnrolmentId[0], 15);

  // A length byte larger than the field never reads past it.
  item.CareTypeAbbrev[0] = 200;
  EXPECT_EQ(item.careTypeAbbrev().size(), 15u);

  const std::string text(300, 't');
  item.setEntryText(text);
  EXPECT_EQ(item.entryText(), std::string(255, 't'));
}

TEST_F(InvHistListTest, EntryTextOverlaysTheFieldsFrom32On) {
  TInvHistItem item;
  item.RunningBalance = -1;
  item.setEntryText("Opening");
  const auto *bytes = reinterpret_cast<const unsigned char *>(&item);
  EXPECT_EQ(bytes[32], 7);
  EXPECT_EQ(std::memcmp(bytes + 33, "Opening", 7), 0);
  EXPECT_EQ(item.RunningBalance, -1); // before the overlay, untouched
  EXPECT_EQ(sizeof(TInvHistItem), 288u);
}

TEST_F(InvHistListTest, NewItemsStartZeroed) {
  TInvHistItem item;
  EXPECT_EQ(item.Kind, 0);
  EXPECT_EQ(item.WeekEndDate, 0);
  EXPECT_EQ(item.CCRAmount, 0);
  EXPECT_EQ(item.CCBEntry, 0);
  EXPECT_EQ(item.enrolmentId(), "");
  EXPECT_EQ(item.entryText(), "");
}

TEST_F(InvHistListTest, TheListFreesTheHostsEntries) {
  auto *list = new TInvHistList;
  for (int i = 0; i < 50; ++i)
    list->Add(entry(2, 1000 - i, i));
  list->SortEntries();
  list->Clear();
  list->Add(entry(1, 0));
  TObject *asObject = list;
  delete asObject;
}

} // namespace
} // namespace TDInvoice
