#include "LeakCheck.h"

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/SortedObjectList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace TDInvoice {
namespace {

using Testing::LeakCheckedTest;

// An item with a sort key and a serial number that tells equal keys apart.
class TKeyItem : public TObject {
public:
  TKeyItem(int key, int serial) : Key(key), Serial(serial) { ++live; }
  ~TKeyItem() override { --live; }
  int Key;
  int Serial;
  static inline int live = 0;
};

int keyOf(TObject *item) { return static_cast<TKeyItem *>(item)->Key; }
int serialOf(TObject *item) { return static_cast<TKeyItem *>(item)->Serial; }

// Records every comparison and event the list makes.
struct EventLog {
  int compares = 0;
  std::vector<std::pair<int, int>> duplicates; // (new serial, existing serial)
  std::vector<int> added;
  std::vector<int> deleted;
  TSortedObjectList *lastSender = nullptr;

  int byKey(TObject *a, TObject *b) {
    ++compares;
    return keyOf(a) - keyOf(b);
  }
  void onDuplicate(TSortedObjectList *sender, TObject *fresh, TObject *existing) {
    lastSender = sender;
    duplicates.emplace_back(serialOf(fresh), serialOf(existing));
  }
  void onAdded(TSortedObjectList *sender, TObject *item) {
    lastSender = sender;
    added.push_back(serialOf(item));
  }
  void onDeleted(TSortedObjectList *sender, TObject *item) {
    lastSender = sender;
    deleted.push_back(serialOf(item));
  }
  void attach(TSortedObjectList &list) {
    list.SetOnDuplicate(makeDuplicateEvent<&EventLog::onDuplicate>(this));
    list.SetOnItemAdded(makeItemEvent<&EventLog::onAdded>(this));
    list.SetOnItemDeleted(makeItemEvent<&EventLog::onDeleted>(this));
  }
  TListCompare compare() { return makeListCompare<&EventLog::byKey>(this); }
};

std::vector<int> keys(const TObjectList &list) {
  std::vector<int> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(keyOf(list.Items(i)));
  return out;
}

std::vector<int> serials(const TObjectList &list) {
  std::vector<int> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(serialOf(list.Items(i)));
  return out;
}

void addKeys(TSortedObjectList &list, const std::vector<int> &keyList) {
  int serial = 0;
  for (int key : keyList)
    list.Add(new TKeyItem(key, serial++));
}

template <class E> std::string messageOf(const std::function<void()> &action) {
  try {
    action();
  } catch (const E &error) {
    return error.what();
  }
  return "<no exception>";
}

class ObjectListTest : public LeakCheckedTest {};

TEST_F(ObjectListTest, BadIndexesRaiseTheListErrorWithTheIndex) {
  TObjectList list(true);
  list.Add(new TKeyItem(1, 0));
  list.Add(new TKeyItem(2, 1));
  struct Case {
    const char *what;
    std::function<void()> action;
    const char *message;
  } cases[] = {
      {"read past the end", [&] { list.Items(2); }, "List index out of bounds (2)"},
      {"read below zero", [&] { list.Items(-1); }, "List index out of bounds (-1)"},
      {"insert past count", [&] { list.Insert(3, nullptr); }, "List index out of bounds (3)"},
      {"delete past the end", [&] { list.Delete(2); }, "List index out of bounds (2)"},
      {"exchange past the end", [&] { list.Exchange(0, 5); }, "List index out of bounds (5)"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(messageOf<EListError>(c.action), c.message) << c.what;
  EXPECT_EQ(list.Count(), 2);
}

TEST_F(ObjectListTest, GrowsBy4Then16ThenAQuarter) {
  TObjectList list(false);
  std::vector<int> capacities;
  TKeyItem item(0, 0);
  for (int i = 0; i < 150; ++i) {
    list.Add(&item);
    if (capacities.empty() || capacities.back() != list.Capacity())
      capacities.push_back(list.Capacity());
  }
  // 4 while at most 8, 16 while at most 64, then a quarter (95 = 76 + 19, ...).
  EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118, 147, 183}));
}

TEST_F(ObjectListTest, InsertDeleteExchangeMoveTheOthers) {
  TObjectList list(true);
  for (int i = 0; i < 4; ++i)
    list.Add(new TKeyItem(i, i));
  list.Insert(0, new TKeyItem(9, 9));
  list.Insert(5, new TKeyItem(8, 8));
  EXPECT_EQ(keys(list), (std::vector<int>{9, 0, 1, 2, 3, 8}));
  list.Delete(1);
  list.Exchange(0, 4);
  EXPECT_EQ(keys(list), (std::vector<int>{8, 1, 2, 3, 9}));
  EXPECT_EQ(TKeyItem::live, 5);
}

TEST_F(ObjectListTest, OwnershipDecidesWhetherRemovedItemsAreFreed) {
  TKeyItem kept(7, 0);
  {
    TObjectList borrowed(false);
    borrowed.Add(&kept);
    borrowed.Delete(0);
    borrowed.Add(&kept);
    borrowed.Clear();
    EXPECT_EQ(TKeyItem::live, 1);
  }
  TObjectList owning(true);
  auto *a = new TKeyItem(1, 1);
  owning.Add(a);
  owning.Add(new TKeyItem(2, 2));
  EXPECT_EQ(owning.Extract(a), a); // taken out, not freed
  EXPECT_EQ(owning.Extract(a), nullptr);
  EXPECT_EQ(owning.Count(), 1);
  delete a;
  owning.Clear();
  EXPECT_EQ(TKeyItem::live, 1);
  EXPECT_EQ(owning.Capacity(), 0);
}

class SortedObjectListTest : public LeakCheckedTest {
protected:
  EventLog log;
};

TEST_F(SortedObjectListTest, WithoutComparisonAddAppendsAndFindValueRefuses) {
  TSortedObjectList list;
  addKeys(list, {5, 1, 5, 3});
  EXPECT_EQ(list.Add(new TKeyItem(0, 4)), 4);
  EXPECT_EQ(keys(list), (std::vector<int>{5, 1, 5, 3, 0}));
  TKeyItem key(1, 99);
  std::int32_t index = -7;
  EXPECT_EQ(messageOf<EListError>([&] { list.FindValue(&key, index); }),
            "Cannot use FindValue. No Compare function set.");
}

TEST_F(SortedObjectListTest, FindValueGivesTheLeftmostEqualOrTheInsertionPoint) {
  TSortedObjectList list;
  list.SetCompare(log.compare());
  std::int32_t index = -1;
  TKeyItem probe(0, 0);
  EXPECT_FALSE(list.FindValue(&probe, index));
  EXPECT_EQ(index, 0);

  addKeys(list, {1, 3, 3, 3, 5});
  struct Case {
    int key;
    bool found;
    int index;
  } cases[] = {{0, false, 0}, {1, true, 0}, {2, false, 1}, {3, true, 1},
               {4, false, 4}, {5, true, 4}, {6, false, 5}};
  for (const Case &c : cases) {
    TKeyItem key(c.key, -1);
    EXPECT_EQ(list.FindValue(&key, index), c.found) << c.key;
    EXPECT_EQ(index, c.index) << c.key;
  }
}

TEST_F(SortedObjectListTest, FindValuePassesTheItemFirstAndTheKeySecond) {
  struct Recorder {
    std::vector<std::pair<int, int>> calls;
    int compare(TObject *a, TObject *b) {
      calls.emplace_back(serialOf(a), serialOf(b));
      return keyOf(a) - keyOf(b);
    }
  } recorder;
  TSortedObjectList list;
  list.Add(new TKeyItem(1, 10));
  list.Add(new TKeyItem(2, 20));
  list.Add(new TKeyItem(3, 30));
  list.SetCompare(makeListCompare<&Recorder::compare>(&recorder));
  recorder.calls.clear();
  TKeyItem key(3, 99);
  std::int32_t index = 0;
  ASSERT_TRUE(list.FindValue(&key, index));
  ASSERT_FALSE(recorder.calls.empty());
  for (const auto &call : recorder.calls)
    EXPECT_EQ(call.second, 99);
}

TEST_F(SortedObjectListTest, EqualItemsGoBeforeThePresentOnesWhenNotUnique) {
  TSortedObjectList list;
  list.SetCompare(log.compare());
  addKeys(list, {2, 1, 2, 3, 2});
  EXPECT_EQ(keys(list), (std::vector<int>{1, 2, 2, 2, 3}));
  EXPECT_EQ(serials(list), (std::vector<int>{1, 4, 2, 0, 3}));
}

TEST_F(SortedObjectListTest, UniqueRefusesEqualItemsAndFreesThemWhenOwning) {
  TSortedObjectList list;
  log.attach(list);
  list.SetCompare(log.compare());
  list.SetUnique(true);
  addKeys(list, {4, 2, 6});
  log.added.clear();
  auto *twin = new TKeyItem(2, 50);
  EXPECT_EQ(list.Add(twin), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(log.duplicates, (std::vector<std::pair<int, int>>{{50, 1}}));
  EXPECT_EQ(log.deleted, (std::vector<int>{50}));
  EXPECT_TRUE(log.added.empty());
  EXPECT_EQ(log.lastSender, &list);
  EXPECT_EQ(TKeyItem::live, 3); // the twin is gone
}

TEST_F(SortedObjectListTest, RefusedItemStaysWithTheCallerWhenNotOwning) {
  TKeyItem present(2, 1);
  TKeyItem twin(2, 2);
  TSortedObjectList list(false);
  log.attach(list);
  list.SetCompare(log.compare());
  list.SetUnique(true);
  list.Add(&present);
  EXPECT_EQ(list.Add(&twin), 0);
  EXPECT_EQ(log.duplicates.size(), 1u);
  EXPECT_TRUE(log.deleted.empty());
  EXPECT_EQ(TKeyItem::live, 2);
  EXPECT_EQ(list.Items(0), &present);
}

TEST_F(SortedObjectListTest, InstallingAComparisonSortsAndMergesDuplicates) {
  {
    TSortedObjectList single;
    single.Add(new TKeyItem(1, 0));
    single.SetCompare(log.compare());
    EXPECT_EQ(log.compares, 0);
  }
  TSortedObjectList list;
  log.attach(list);
  list.SetUnique(true); // no comparison yet: nothing happens
  addKeys(list, {3, 1, 3, 2, 1, 3});
  EXPECT_TRUE(log.duplicates.empty());
  list.SetCompare(log.compare());
  EXPECT_EQ(keys(list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(log.duplicates.size(), 3u);
  EXPECT_EQ(log.deleted.size(), 3u);
  for (const auto &dup : log.duplicates)
    EXPECT_NE(std::find(log.deleted.begin(), log.deleted.end(), dup.first), log.deleted.end());
  EXPECT_EQ(TKeyItem::live, 3);
}

TEST_F(SortedObjectListTest, SwitchingUniqueOnKeepsTheFirstOfEveryRun) {
  TSortedObjectList list;
  log.attach(list);
  list.SetCompare(log.compare());
  addKeys(list, {1, 1, 2, 2, 2, 3}); // stored as 1(1) 1(0) 2(4) 2(3) 2(2) 3(5)
  ASSERT_EQ(serials(list), (std::vector<int>{1, 0, 4, 3, 2, 5}));
  list.SetUnique(true);
  EXPECT_EQ(serials(list), (std::vector<int>{1, 4, 5}));
  EXPECT_EQ(log.duplicates, (std::vector<std::pair<int, int>>{{0, 1}, {3, 4}, {2, 4}}));
  EXPECT_EQ(log.deleted, (std::vector<int>{0, 3, 2}));
  log.duplicates.clear();
  list.SetUnique(true); // already on: nothing more
  EXPECT_TRUE(log.duplicates.empty());
}

TEST_F(SortedObjectListTest, ClearingTheComparisonKeepsTheOrderAndAppends) {
  TSortedObjectList list;
  list.SetCompare(log.compare());
  addKeys(list, {3, 1, 2});
  list.SetCompare(TListCompare{});
  list.Add(new TKeyItem(0, 9));
  EXPECT_EQ(keys(list), (std::vector<int>{1, 2, 3, 0}));
}

TEST_F(SortedObjectListTest, NotificationsReportEveryEntryAndExit) {
  {
    TSortedObjectList list;
    log.attach(list);
    addKeys(list, {1, 2, 3});
    list.Insert(0, new TKeyItem(0, 7));
    list.Delete(2);
    EXPECT_EQ(log.added, (std::vector<int>{0, 1, 2, 7}));
    EXPECT_EQ(log.deleted, (std::vector<int>{1}));
    TObject *extracted = list.Extract(list.Items(0));
    EXPECT_EQ(log.deleted.size(), 1u);
    delete extracted;
  }
  // Destroying the list cleared it, last item first, through the same notification.
  EXPECT_EQ(log.deleted, (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(TKeyItem::live, 0);
}

// The sort must agree with std::sort on keys for any arrangement, keep every item, and
// survive the patterns that trouble a middle-pivot quicksort.
TEST_F(SortedObjectListTest, QuickSortOrdersEveryArrangement) {
  std::mt19937 random(1234);
  std::vector<std::vector<int>> inputs = {{}, {1}, {2, 1}, {1, 1, 1, 1}, {5, 4, 3, 2, 1}};
  std::vector<int> pipe(301);
  std::iota(pipe.begin(), pipe.begin() + 151, 0);
  std::iota(pipe.rbegin(), pipe.rbegin() + 150, 0);
  inputs.push_back(pipe);
  for (int size : {7, 64, 1000}) {
    for (int range : {2, size}) {
      std::vector<int> input(size);
      for (int &v : input)
        v = static_cast<int>(random() % static_cast<unsigned>(range));
      inputs.push_back(input);
    }
  }
  for (const auto &input : inputs) {
    TSortedObjectList list;
    addKeys(list, input);
    list.SetCompare(log.compare());
    std::vector<int> expected = input;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(keys(list), expected) << "size " << input.size();
    std::vector<int> seen = serials(list);
    std::sort(seen.begin(), seen.end());
    std::vector<int> all(input.size());
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(seen, all);
  }
}

} // namespace
} // namespace TDInvoice
