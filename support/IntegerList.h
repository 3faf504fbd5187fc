// A list of 32-bit integers in blocks of 512, optionally sorted and free of duplicates, read
// from and written as comma-separated text. The list never reallocates or copies all its
// values at once: appending touches one block, and inserting or deleting shifts values
// within the affected blocks and hands one value across each block boundary. Blocks are
// never removed, so the capacity never shrinks.
#pragma once

#include "TDInvoice/SortedObjectList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace TDInvoice {

class TIntegerList;

// Negative when Item1 comes before Item2, 0 when equal, positive after.
struct TIntegerCompare {
  int (*Code)(void *Self, std::int32_t Item1, std::int32_t Item2) = nullptr;
  void *Self = nullptr;
  explicit operator bool() const { return Code != nullptr; }
  int operator()(std::int32_t Item1, std::int32_t Item2) const { return Code(Self, Item1, Item2); }
};

class TIntegerBlock : public TObject {
public:
  static constexpr std::int32_t kSize = 512;

  bool HasItems() const { return Last >= 0; }
  bool IsFull() const { return Last == kSize - 1; }
  // Raise EListError "Index %d higher than highest index in use (%d)." above Last.
  std::int32_t Get(std::int32_t Index) const;
  void Put(std::int32_t Index, std::int32_t Value);
  // A full block drops its slot-511 value (the list has copied it to the next block).
  void Insert(std::int32_t Index, std::int32_t Value);
  void Delete(std::int32_t Index);

  std::int32_t Items[kSize] = {};
  std::int32_t Last = -1;

private:
  void checkSlot(std::int32_t Index) const;
};

class TIntegerList : public TObject {
public:
  // The 16-bit block index allows 65,536 blocks.
  static constexpr std::int32_t kMaxBlocks = 65536;

  TIntegerList();
  ~TIntegerList() override;

  std::int32_t Count() const { return FCount; }
  std::int32_t Capacity() const { return FCapacity; }
  std::int32_t BlockCount() const { return Blocks->Count(); }
  const TIntegerBlock &Block(std::int32_t Index) const {
    return *static_cast<const TIntegerBlock *>(Blocks->Items(Index));
  }

  // Indexes outside the list raise EListError "List index out of bounds (%d)".
  std::int32_t Get(std::int32_t Index) const;
  void Put(std::int32_t Index, std::int32_t Value);
  void Exchange(std::int32_t Index1, std::int32_t Index2);
  // Appends without a comparison; otherwise inserts in order, and with Unique returns the
  // equal value's index without storing.
  std::int32_t Add(std::int32_t Value);
  void Insert(std::int32_t Index, std::int32_t Value);
  void Delete(std::int32_t Index);
  // Binary search; EListError "Cannot use FindValue. No Compare function set." without one.
  bool FindValue(std::int32_t Value, std::int32_t &Index) const;

  void SetCompare(TIntegerCompare Value);
  void SetSorted(bool Value);
  void SetUnique(bool Value);
  void SetUnsignedCompare(bool Value) { UnsignedCompare = Value; }
  TIntegerCompare compare() const { return Compare; }
  bool unique() const { return Unique; }
  bool unsignedCompare() const { return UnsignedCompare; }

  void QuickSort(std::int32_t L, std::int32_t R);
  void RemoveDuplicates();

  // "1, 3, 5"; empty for an empty list.
  std::string CommaText() const;
  // Adds every comma-separated piece through Add; a piece that is not an integer raises
  // EConvertError "'%s' is not a valid integer value", keeping the pieces before it.
  void AddCommaText(std::string_view S);

  static int CompareSigned(void *Self, std::int32_t Item1, std::int32_t Item2);
  static int CompareUnsigned(void *Self, std::int32_t Item1, std::int32_t Item2);

protected:
  TObjectList *Blocks;
  std::int32_t FCount = 0;
  std::int32_t FCapacity = 0;
  TIntegerCompare Compare;
  bool UnsignedCompare = false;
  bool Unique = false;

private:
  TIntegerBlock *block(std::int32_t Index) const {
    return static_cast<TIntegerBlock *>(Blocks->Items(Index));
  }
  std::int32_t &slot(std::int32_t Index) const;
  void checkIndex(std::int32_t Index) const;
  void grow();
};

// The integer conversion of AddCommaText: leading blanks, an optional sign, then decimal
// digits or hexadecimal ones after "$", "x", "X", "0x" or "0X"; the value must fit 32 bits
// signed. Raises EConvertError "'%s' is not a valid integer value".
std::int32_t StrToInt(std::string_view S);

} // namespace TDInvoice
