// A small deterministic random source for the demo data. The standard distributions may differ
// between standard libraries, so the demo database would not be the same everywhere; this one
// is SplitMix64 with its own bounded draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace TDInvoice::Demo {

class TDemoRandom {
public:
  explicit TDemoRandom(std::uint64_t seed) : FState(seed) {}

  // A source of its own for one item (a family), so that item i is the same whatever the
  // number of items generated.
  static TDemoRandom forItem(std::uint64_t seed, std::uint64_t item) {
    TDemoRandom mixer(seed ^ (item * 0x9E3779B97F4A7C15ull));
    mixer.next();
    return TDemoRandom(mixer.next());
  }

  std::uint64_t next() {
    std::uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A whole number from low to high, both included.
  int between(int low, int high) {
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<int>(next() % span);
  }

  // True in about percent of the draws.
  bool chance(int percent) { return between(0, 99) < percent; }

  // One item of an array, a span or a vector.
  template <class Items> const auto &pick(const Items &items) {
    const auto count = static_cast<int>(std::size(items));
    return items[static_cast<std::size_t>(between(0, count - 1))];
  }

private:
  std::uint64_t FState;
};

} // namespace TDInvoice::Demo
