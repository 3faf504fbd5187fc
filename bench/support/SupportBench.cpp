// Bulk figures for the support collections: the integer list's append / sort / unique pass
// over a million values, and sorted insertion into an object list.
#include "support/IntegerList.h"

#include "TDInvoice/SortedObjectList.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using namespace TDInvoice;

std::vector<std::int32_t> randomValues(std::size_t count, std::uint32_t range, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::int32_t> values(count);
  for (auto &v : values)
    v = static_cast<std::int32_t>(range ? random() % range : random());
  return values;
}

// Arg 0: values drawn from the whole 32-bit range (almost no repeats); otherwise from
// 0..Arg-1 (many repeats for SetUnique to drop).
void BM_IntegerListAppendSortUnique(benchmark::State &state) {
  const auto values = randomValues(1'000'000, static_cast<std::uint32_t>(state.range(0)), 7);
  std::int64_t kept = 0;
  for (auto _ : state) {
    TIntegerList list;
    for (std::int32_t v : values)
      list.Add(v);
    list.SetSorted(true);
    list.SetUnique(true);
    kept = list.Count();
    benchmark::DoNotOptimize(kept);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
  state.counters["kept"] = static_cast<double>(kept);
}
BENCHMARK(BM_IntegerListAppendSortUnique)->Arg(0)->Arg(500'000)->Unit(benchmark::kMillisecond);

class TKeyItem : public TObject {
public:
  explicit TKeyItem(std::int32_t key) : Key(key) {}
  std::int32_t Key;
};

int compareKeys(void *, TObject *a, TObject *b) {
  const std::int32_t x = static_cast<TKeyItem *>(a)->Key;
  const std::int32_t y = static_cast<TKeyItem *>(b)->Key;
  return x < y ? -1 : (x > y ? 1 : 0);
}

// Arg 0: keys in random order; 1: keys ascending (every insertion at the end).
void BM_SortedObjectListInsert(benchmark::State &state) {
  constexpr std::size_t kItems = 100'000;
  std::vector<std::int32_t> keys = randomValues(kItems, 0, 11);
  if (state.range(0) == 1)
    for (std::size_t i = 0; i < kItems; ++i)
      keys[i] = static_cast<std::int32_t>(i);
  for (auto _ : state) {
    TSortedObjectList list(true);
    list.SetCompare(TListCompare{&compareKeys, nullptr});
    for (std::int32_t key : keys)
      list.Add(new TKeyItem(key));
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kItems));
}
BENCHMARK(BM_SortedObjectListInsert)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
