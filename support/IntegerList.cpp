#include "support/IntegerList.h"

#include "TDInvoice/Exceptions.h"

#include <cstring>
#include <string>
#include <utility>

namespace TDInvoice {
namespace {

// Item i lives in block i / 512, slot i % 512; indexes stay below 2^25, so the block index
// always fits the 16 bits the layout allows.
constexpr std::int32_t kBlockShift = 9;
constexpr std::int32_t kSlotMask = TIntegerBlock::kSize - 1;

[[noreturn]] void listIndexError(std::int32_t Index) {
  throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

[[noreturn]] void convertError(std::string_view Piece) {
  throw EConvertError("'" + std::string(Piece) + "' is not a valid integer value");
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

} // namespace

// --- TIntegerBlock -------------------------------------------------------------------------

void TIntegerBlock::checkSlot(std::int32_t Index) const {
  if (Index > Last)
    throw EListError("Index " + std::to_string(Index) + " higher than highest index in use (" +
                     std::to_string(Last) + ").");
  if (Index < 0)
    listIndexError(Index);
}

std::int32_t TIntegerBlock::Get(std::int32_t Index) const {
  checkSlot(Index);
  return Items[Index];
}

void TIntegerBlock::Put(std::int32_t Index, std::int32_t Value) {
  if (Index < 0 || Index >= kSize)
    listIndexError(Index);
  Items[Index] = Value;
  if (Index > Last)
    Last = Index;
}

void TIntegerBlock::Insert(std::int32_t Index, std::int32_t Value) {
  if (Index < 0 || Index >= kSize || Index > Last + 1)
    listIndexError(Index);
  const std::int32_t top = Last < kSize - 1 ? Last : kSize - 2; // slot 511 drops out
  if (top >= Index)
    std::memmove(Items + Index + 1, Items + Index,
                 sizeof(std::int32_t) * static_cast<std::size_t>(top - Index + 1));
  Items[Index] = Value;
  if (Last < kSize - 1)
    ++Last;
}

void TIntegerBlock::Delete(std::int32_t Index) {
  checkSlot(Index);
  if (Index < Last)
    std::memmove(Items + Index, Items + Index + 1,
                 sizeof(std::int32_t) * static_cast<std::size_t>(Last - Index));
  --Last;
}

// --- TIntegerList --------------------------------------------------------------------------

TIntegerList::TIntegerList() : Blocks(new TObjectList(true)) {
  Blocks->Add(new TIntegerBlock);
  FCapacity = TIntegerBlock::kSize;
}

TIntegerList::~TIntegerList() { delete Blocks; }

void TIntegerList::checkIndex(std::int32_t Index) const {
  if (Index < 0 || Index >= FCount)
    listIndexError(Index);
}

// Unchecked: callers have checked Index against Count.
std::int32_t &TIntegerList::slot(std::int32_t Index) const {
  return static_cast<TIntegerBlock *>(Blocks->List()[Index >> kBlockShift])
      ->Items[Index & kSlotMask];
}

void TIntegerList::grow() {
  if (Blocks->Count() >= kMaxBlocks)
    throw EListError("List capacity out of bounds (" + std::to_string(FCapacity) + ")");
  auto *fresh = new TIntegerBlock;
  try {
    Blocks->Add(fresh);
  } catch (...) {
    delete fresh;
    throw;
  }
  FCapacity += TIntegerBlock::kSize;
}

std::int32_t TIntegerList::Get(std::int32_t Index) const {
  checkIndex(Index);
  return block(Index >> kBlockShift)->Get(Index & kSlotMask);
}

void TIntegerList::Put(std::int32_t Index, std::int32_t Value) {
  checkIndex(Index);
  block(Index >> kBlockShift)->Put(Index & kSlotMask, Value);
}

void TIntegerList::Exchange(std::int32_t Index1, std::int32_t Index2) {
  const std::int32_t first = Get(Index1);
  Put(Index1, Get(Index2));
  Put(Index2, first);
}

std::int32_t TIntegerList::Add(std::int32_t Value) {
  if (!Compare) {
    const std::int32_t index = FCount;
    if (FCount == FCapacity)
      grow();
    ++FCount;
    Put(index, Value);
    return index;
  }
  std::int32_t index = 0;
  if (!FindValue(Value, index) || !Unique)
    Insert(index, Value);
  return index;
}

void TIntegerList::Insert(std::int32_t Index, std::int32_t Value) {
  if (Index < 0 || Index > FCount)
    listIndexError(Index);
  if (FCount == FCapacity)
    grow();
  const std::int32_t target = Index >> kBlockShift;
  // Each full block hands its last value to the start of the next one, from the back.
  for (std::int32_t k = Blocks->Count() - 1; k > target; --k) {
    TIntegerBlock *previous = block(k - 1);
    if (previous->IsFull())
      block(k)->Insert(0, previous->Items[TIntegerBlock::kSize - 1]);
  }
  block(target)->Insert(Index & kSlotMask, Value);
  ++FCount;
}

void TIntegerList::Delete(std::int32_t Index) {
  checkIndex(Index);
  block(Index >> kBlockShift)->Delete(Index & kSlotMask);
  // Each later block hands its first value back to the end of the one before it.
  for (std::int32_t k = (Index >> kBlockShift) + 1; k < Blocks->Count(); ++k) {
    TIntegerBlock *current = block(k);
    if (!current->HasItems())
      continue;
    block(k - 1)->Put(TIntegerBlock::kSize - 1, current->Items[0]);
    current->Delete(0);
  }
  --FCount;
}

bool TIntegerList::FindValue(std::int32_t Value, std::int32_t &Index) const {
  if (!Compare)
    throw EListError("Cannot use FindValue. No Compare function set.");
  std::int32_t low = 0;
  std::int32_t high = FCount - 1;
  bool found = false;
  while (low <= high) {
    const std::int32_t i = (low + high) / 2;
    const int c = Compare(slot(i), Value);
    if (c < 0) {
      low = i + 1;
    } else {
      high = i - 1;
      if (c == 0) {
        found = true;
        if (Unique)
          low = i;
      }
    }
  }
  Index = low;
  return found;
}

void TIntegerList::SetCompare(TIntegerCompare Value) {
  Compare = Value;
  if (Compare && FCount >= 2) {
    QuickSort(0, FCount - 1);
    if (Unique)
      RemoveDuplicates();
  }
}

void TIntegerList::SetSorted(bool Value) {
  if (Value)
    SetCompare(TIntegerCompare{UnsignedCompare ? &CompareUnsigned : &CompareSigned, this});
  else
    Compare = TIntegerCompare{};
}

void TIntegerList::SetUnique(bool Value) {
  const bool old = Unique;
  Unique = Value;
  if (Compare && Value && !old)
    RemoveDuplicates();
}

int TIntegerList::CompareSigned(void *, std::int32_t Item1, std::int32_t Item2) {
  return Item1 > Item2 ? 1 : (Item1 < Item2 ? -1 : 0);
}

int TIntegerList::CompareUnsigned(void *, std::int32_t Item1, std::int32_t Item2) {
  const auto a = static_cast<std::uint32_t>(Item1);
  const auto b = static_cast<std::uint32_t>(Item2);
  return a > b ? 1 : (a < b ? -1 : 0);
}

namespace {

// The values are compared with the pivot value only; recursing into the smaller part keeps
// the stack shallow and leaves the result as it would be otherwise.
template <class Slot, class Cmp>
void quickSortValues(Slot &slot, const Cmp &compare, std::int32_t L, std::int32_t R) {
  while (L < R) {
    const std::int32_t pivot = slot((L + R) / 2);
    std::int32_t i = L;
    while (compare(slot(i), pivot) < 0)
      ++i;
    std::int32_t j = R;
    while (compare(slot(j), pivot) > 0)
      --j;
    while (j > i) {
      std::swap(slot(i), slot(j));
      do
        ++i;
      while (compare(slot(i), pivot) < 0);
      do
        --j;
      while (compare(slot(j), pivot) > 0);
    }
    if (j == i) {
      if (i < R)
        ++i;
      if (j > L)
        --j;
    }
    if (j - L < R - i) {
      if (j > L)
        quickSortValues(slot, compare, L, j);
      L = i;
    } else {
      if (i < R)
        quickSortValues(slot, compare, i, R);
      R = j;
    }
  }
}

} // namespace

void TIntegerList::QuickSort(std::int32_t L, std::int32_t R) {
  if (R <= L || !Compare)
    return;
  checkIndex(L);
  checkIndex(R);
  auto at = [this](std::int32_t Index) -> std::int32_t & { return slot(Index); };
  // The list's own orders are inlined; they give exactly what calling them would.
  if (Compare.Code == &CompareSigned)
    quickSortValues(
        at, [](std::int32_t a, std::int32_t b) { return CompareSigned(nullptr, a, b); }, L, R);
  else if (Compare.Code == &CompareUnsigned)
    quickSortValues(
        at, [](std::int32_t a, std::int32_t b) { return CompareUnsigned(nullptr, a, b); }, L, R);
  else
    quickSortValues(at, Compare, L, R);
}

// Keeps the first value of every run of equal neighbours. One compacting pass makes the
// same comparisons and leaves the same values and blocks as deleting each repeat in turn,
// without shifting every later block once per repeat.
void TIntegerList::RemoveDuplicates() {
  if (!Compare || !Unique || FCount < 2)
    return;
  std::int32_t previous = slot(0);
  std::int32_t kept = 1;
  for (std::int32_t i = 1; i < FCount; ++i) {
    const std::int32_t value = slot(i);
    if (Compare(previous, value) != 0) {
      previous = value;
      slot(kept++) = value;
    }
  }
  FCount = kept;
  for (std::int32_t k = 0; k < Blocks->Count(); ++k) {
    const std::int32_t inBlock = kept - k * TIntegerBlock::kSize;
    block(k)->Last =
        inBlock <= 0 ? -1
                     : (inBlock >= TIntegerBlock::kSize ? TIntegerBlock::kSize - 1 : inBlock - 1);
  }
}

std::string TIntegerList::CommaText() const {
  if (FCount == 0)
    return std::string();
  std::string result(200, '\0');
  std::size_t used = 0;
  for (std::int32_t i = 0; i < FCount; ++i) {
    std::string piece = std::to_string(slot(i));
    if (i != FCount - 1)
      piece += ", ";
    if (used + piece.size() > result.size())
      result.resize(result.size() + piece.size() + 200);
    result.replace(used, piece.size(), piece);
    used += piece.size();
  }
  result.resize(used);
  return result;
}

void TIntegerList::AddCommaText(std::string_view S) {
  if (S.empty())
    return;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = S.find(',', start);
    const std::string_view piece =
        S.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    Add(StrToInt(piece));
    if (comma == std::string_view::npos)
      break;
    start = comma + 1;
  }
}

std::int32_t StrToInt(std::string_view S) {
  std::size_t p = 0;
  while (p < S.size() && S[p] == ' ')
    ++p;
  bool negative = false;
  if (p < S.size() && (S[p] == '+' || S[p] == '-')) {
    negative = S[p] == '-';
    ++p;
  }
  int base = 10;
  if (p < S.size() && (S[p] == '$' || S[p] == 'x' || S[p] == 'X')) {
    base = 16;
    ++p;
  } else if (p + 1 < S.size() && S[p] == '0' && (S[p + 1] == 'x' || S[p + 1] == 'X')) {
    base = 16;
    p += 2;
  }
  if (p == S.size())
    convertError(S);
  // One past the largest magnitude (2^31 for negatives) stops the accumulation early.
  const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
  std::uint64_t magnitude = 0;
  for (; p < S.size(); ++p) {
    const int digit = hexDigit(S[p]);
    if (digit < 0 || digit >= base)
      convertError(S);
    magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (magnitude > limit)
      convertError(S);
  }
  return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                  : static_cast<std::int32_t>(magnitude);
}

} // namespace TDInvoice
