#include "LeakCheck.h"

#include "support/IntegerList.h"

#include "TDInvoice/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace TDInvoice {
namespace {

using Testing::LeakCheckedTest;

std::vector<std::int32_t> values(const TIntegerList &list) {
  std::vector<std::int32_t> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(list.Get(i));
  return out;
}

// Every block before the one holding the last item is full, the rest are empty, and the
// capacity is 512 per block.
void expectBlocksConsistent(const TIntegerList &list) {
  ASSERT_EQ(list.Capacity(), 512 * list.BlockCount());
  int remaining = list.Count();
  for (int k = 0; k < list.BlockCount(); ++k) {
    const int inBlock = std::clamp(remaining, 0, 512);
    EXPECT_EQ(list.Block(k).Last, inBlock - 1) << "block " << k;
    remaining -= inBlock;
  }
}

template <class E> std::string messageOf(const std::function<void()> &action) {
  try {
    action();
  } catch (const E &error) {
    return error.what();
  }
  return "<no exception>";
}

class IntegerListTest : public LeakCheckedTest {};

TEST_F(IntegerListTest, SortedUniqueListRefusesRepeats) {
  TIntegerList list;
  list.SetSorted(true);
  list.SetUnique(true);
  const std::vector<std::pair<int, int>> adds = {{5, 0}, {3, 0}, {5, 1}, {1, 0}};
  for (const auto &[value, index] : adds)
    EXPECT_EQ(list.Add(value), index) << value;
  EXPECT_EQ(values(list), (std::vector<std::int32_t>{1, 3, 5}));
  EXPECT_EQ(list.CommaText(), "1, 3, 5");
}

TEST_F(IntegerListTest, AppendingPastABlockAddsOneAndDeletingPullsValuesBack) {
  TIntegerList list;
  for (int i = 0; i < 513; ++i)
    list.Add(i);
  EXPECT_EQ(list.BlockCount(), 2);
  EXPECT_EQ(list.Capacity(), 1024);
  list.Delete(0);
  EXPECT_EQ(list.Block(0).Items[511], 512);
  EXPECT_EQ(list.Block(1).Last, -1);
  EXPECT_EQ(list.Get(511), 512);
  EXPECT_EQ(list.Capacity(), 1024); // blocks are never removed
  expectBlocksConsistent(list);
}

TEST_F(IntegerListTest, InsertingAtTheFrontOfAFullBlockPushesTheLastValueOn) {
  TIntegerList list;
  for (int i = 0; i < 512; ++i)
    list.Add(i);
  EXPECT_EQ(list.BlockCount(), 1);
  list.Insert(0, -1);
  EXPECT_EQ(list.BlockCount(), 2);
  EXPECT_EQ(list.Get(0), -1);
  EXPECT_EQ(list.Get(512), 511);
  expectBlocksConsistent(list);
}

// Random inserts and deletes across many blocks must agree with a plain vector.
TEST_F(IntegerListTest, InsertAndDeleteAgreeWithAVectorAcrossBlocks) {
  std::mt19937 random(99);
  TIntegerList list;
  std::vector<std::int32_t> model;
  for (int i = 0; i < 3000; ++i) {
    const auto value = static_cast<std::int32_t>(random());
    list.Add(value);
    model.push_back(value);
  }
  for (int step = 0; step < 4000; ++step) {
    const bool insert = model.empty() || random() % 3 != 0;
    if (insert) {
      const int index = static_cast<int>(random() % (model.size() + 1));
      const auto value = static_cast<std::int32_t>(random());
      list.Insert(index, value);
      model.insert(model.begin() + index, value);
    } else {
      const int index = static_cast<int>(random() % model.size());
      list.Delete(index);
      model.erase(model.begin() + index);
    }
  }
  EXPECT_EQ(values(list), model);
  expectBlocksConsistent(list);
  while (!model.empty()) {
    list.Delete(0);
    model.erase(model.begin());
  }
  EXPECT_EQ(list.Count(), 0);
  expectBlocksConsistent(list);
}

int descending(void *, std::int32_t a, std::int32_t b) { return a > b ? -1 : (a < b ? 1 : 0); }

enum class Order { Signed, Unsigned, Descending };

// Each order the list can be given sorts like std::sort, and removing repeats like
// std::unique; the list then keeps accepting values in that order.
TEST_F(IntegerListTest, SortingAndDuplicateRemovalAgreeWithTheStandardAlgorithms) {
  std::mt19937 random(5);
  const auto before = [](Order order) {
    return [order](std::int32_t a, std::int32_t b) {
      switch (order) {
      case Order::Unsigned:
        return static_cast<std::uint32_t>(a) < static_cast<std::uint32_t>(b);
      case Order::Descending:
        return a > b;
      default:
        return a < b;
      }
    };
  };
  for (Order order : {Order::Signed, Order::Unsigned, Order::Descending}) {
    for (int size : {0, 1, 2, 511, 512, 513, 1537, 5000}) {
      for (unsigned range : {3u, 1000u, 0u}) {
        TIntegerList list;
        std::vector<std::int32_t> model;
        for (int i = 0; i < size; ++i) {
          const auto value = static_cast<std::int32_t>(range ? random() % range : random()) -
                             static_cast<std::int32_t>(range / 2);
          list.Add(value);
          model.push_back(value);
        }
        if (order == Order::Descending) {
          list.SetCompare(TIntegerCompare{&descending, nullptr});
        } else {
          list.SetUnsignedCompare(order == Order::Unsigned);
          list.SetSorted(true);
        }
        std::sort(model.begin(), model.end(), before(order));
        EXPECT_EQ(values(list), model) << int(order) << ":" << size << "/" << range;
        list.SetUnique(true);
        model.erase(std::unique(model.begin(), model.end()), model.end());
        EXPECT_EQ(values(list), model) << int(order) << ":" << size << "/" << range;
        expectBlocksConsistent(list);
        list.Add(7);
        model.insert(std::lower_bound(model.begin(), model.end(), 7, before(order)), 7);
        model.erase(std::unique(model.begin(), model.end()), model.end());
        EXPECT_EQ(values(list), model) << int(order) << ":" << size << "/" << range;
      }
    }
  }
}

TEST_F(IntegerListTest, SignedAndUnsignedOrders) {
  for (const bool isUnsigned : {false, true}) {
    TIntegerList list;
    list.SetUnsignedCompare(isUnsigned);
    list.Add(-1);
    list.Add(1);
    list.Add(0);
    list.SetSorted(true);
    const std::vector<std::int32_t> expected =
        isUnsigned ? std::vector<std::int32_t>{0, 1, -1} : std::vector<std::int32_t>{-1, 0, 1};
    EXPECT_EQ(values(list), expected);
  }
  EXPECT_EQ(TIntegerList::CompareSigned(nullptr, INT32_MIN, INT32_MAX), -1);
  EXPECT_EQ(TIntegerList::CompareUnsigned(nullptr, INT32_MIN, INT32_MAX), 1);
  EXPECT_EQ(TIntegerList::CompareSigned(nullptr, 7, 7), 0);
}

TEST_F(IntegerListTest, FindValueSearchesTheSortedValues) {
  TIntegerList list;
  for (int v : {4, 2, 2, 8})
    list.Add(v);
  std::int32_t index = -1;
  EXPECT_EQ(messageOf<EListError>([&] { list.FindValue(2, index); }),
            "Cannot use FindValue. No Compare function set.");
  list.SetSorted(true); // 2 2 4 8
  struct Case {
    int value;
    bool found;
    int index;
  } cases[] = {{1, false, 0}, {2, true, 0}, {3, false, 2}, {8, true, 3}, {9, false, 4}};
  for (const Case &c : cases) {
    EXPECT_EQ(list.FindValue(c.value, index), c.found) << c.value;
    EXPECT_EQ(index, c.index) << c.value;
  }
  list.SetSorted(false);
  list.Add(1); // appends again
  EXPECT_EQ(list.Get(4), 1);
}

TEST_F(IntegerListTest, BadIndexesRaiseTheListErrors) {
  TIntegerList list;
  list.Add(1);
  list.Add(2);
  struct Case {
    std::function<void()> action;
    const char *message;
  } cases[] = {
      {[&] { list.Get(2); }, "List index out of bounds (2)"},
      {[&] { list.Get(-1); }, "List index out of bounds (-1)"},
      {[&] { list.Put(2, 0); }, "List index out of bounds (2)"},
      {[&] { list.Insert(3, 0); }, "List index out of bounds (3)"},
      {[&] { list.Insert(-1, 0); }, "List index out of bounds (-1)"},
      {[&] { list.Delete(2); }, "List index out of bounds (2)"},
      {[&] { list.Exchange(0, 9); }, "List index out of bounds (9)"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(messageOf<EListError>(c.action), c.message);
  EXPECT_EQ(values(list), (std::vector<std::int32_t>{1, 2}));

  TIntegerBlock block;
  block.Put(0, 5);
  EXPECT_EQ(messageOf<EListError>([&] { block.Get(3); }),
            "Index 3 higher than highest index in use (0).");
  EXPECT_EQ(messageOf<EListError>([&] { block.Delete(1); }),
            "Index 1 higher than highest index in use (0).");
}

TEST_F(IntegerListTest, ExchangeAndPutChangeValuesInPlace) {
  TIntegerList list;
  for (int i = 0; i < 600; ++i)
    list.Add(i);
  list.Exchange(3, 599);
  list.Put(511, -5);
  EXPECT_EQ(list.Get(3), 599);
  EXPECT_EQ(list.Get(599), 3);
  EXPECT_EQ(list.Get(511), -5);
  EXPECT_EQ(list.Count(), 600);
}

TEST_F(IntegerListTest, StrToIntAcceptsDecimalAndHexWithinThirtyTwoBits) {
  struct Case {
    const char *text;
    std::int32_t value;
  } valid[] = {
      {"0", 0},
      {"42", 42},
      {"  7", 7},
      {"+5", 5},
      {"-12", -12},
      {"$1F", 31},
      {"x10", 16},
      {"X10", 16},
      {"0x1a", 26},
      {"0XFF", 255},
      {"-$10", -16},
      {" -0x7FFFFFFF", -INT32_MAX},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"$7fffffff", INT32_MAX},
      {"-0x80000000", INT32_MIN},
      {"007", 7},
  };
  for (const Case &c : valid)
    EXPECT_EQ(StrToInt(c.text), c.value) << c.text;

  const char *invalid[] = {"",
                           " ",
                           "1 ",
                           "+",
                           "-",
                           "$",
                           "0x",
                           "12a",
                           "+ 5",
                           "2147483648",
                           "-2147483649",
                           "$80000000",
                           "0x100000000",
                           "1.5",
                           "\t1",
                           "99999999999999999999"};
  for (const char *text : invalid)
    EXPECT_EQ(messageOf<EConvertError>([&] { StrToInt(text); }),
              "'" + std::string(text) + "' is not a valid integer value")
        << text;
}

TEST_F(IntegerListTest, AddCommaTextAddsEachPieceUntilOneFails) {
  struct Case {
    const char *text;
    std::vector<std::int32_t> added;
    const char *error; // nullptr: no error
  } cases[] = {
      {"", {}, nullptr},
      {"1, 2,3", {1, 2, 3}, nullptr},
      {"1 ,2", {}, "'1 ' is not a valid integer value"},
      {"4,", {4}, "'' is not a valid integer value"},
      {"5,,6", {5}, "'' is not a valid integer value"},
      {"2561,$A03", {2561, 2563}, nullptr},
      {"-7", {-7}, nullptr},
  };
  for (const Case &c : cases) {
    TIntegerList list;
    if (c.error)
      EXPECT_EQ(messageOf<EConvertError>([&] { list.AddCommaText(c.text); }), c.error) << c.text;
    else
      EXPECT_NO_THROW(list.AddCommaText(c.text)) << c.text;
    EXPECT_EQ(values(list), c.added) << c.text;
  }
}

TEST_F(IntegerListTest, CommaTextWritesPlainDecimals) {
  TIntegerList list;
  EXPECT_EQ(list.CommaText(), "");
  std::string expected;
  for (int i = 0; i < 300; ++i) {
    const std::int32_t value = (i % 2 ? -1 : 1) * i * 7919;
    list.Add(value);
    expected += (i ? ", " : "") + std::to_string(value);
  }
  EXPECT_EQ(list.CommaText(), expected);
  TIntegerList back;
  back.AddCommaText(list.CommaText());
  EXPECT_EQ(values(back), values(list));
}

} // namespace
} // namespace TDInvoice
