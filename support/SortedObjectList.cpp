#include "TDInvoice/SortedObjectList.h"
#include "TDInvoice/Exceptions.h"

namespace TDInvoice {

TSortedObjectList::TSortedObjectList(bool OwnsObjects) : TObjectList(OwnsObjects) {}

TSortedObjectList::~TSortedObjectList() { Clear(); }

bool TSortedObjectList::FindValue(TObject *Key, std::int32_t &Index) const {
  if (!Compare)
    throw EListError("Cannot use FindValue. No Compare function set.");
  std::int32_t low = 0;
  std::int32_t high = FCount - 1;
  bool found = false;
  while (low <= high) {
    const std::int32_t i = (low + high) / 2;
    const int c = Compare(FList[i], Key);
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

std::int32_t TSortedObjectList::Add(TObject *Item) {
  if (!Compare)
    return TObjectList::Add(Item);
  std::int32_t index = 0;
  if (FindValue(Item, index) && Unique) {
    if (OnDuplicate)
      OnDuplicate(this, Item, FList[index]);
    if (FOwnsObjects) {
      if (OnItemDeleted)
        OnItemDeleted(this, Item);
      delete Item;
    }
    return index;
  }
  Insert(index, Item);
  return index;
}

void TSortedObjectList::SetCompare(TListCompare Value) {
  Compare = Value;
  if (Compare && FCount >= 2) {
    QuickSort(0, FCount - 1);
    if (Unique)
      RemoveDuplicates();
  }
}

void TSortedObjectList::SetUnique(bool Value) {
  const bool old = Unique;
  Unique = Value;
  if (Compare && Value && !old)
    RemoveDuplicates();
}

void TSortedObjectList::RemoveDuplicates() {
  if (!Compare || !Unique || FCount < 2)
    return;
  TObject *prev = FList[0];
  std::int32_t i = 1;
  while (i < FCount) {
    if (Compare(prev, FList[i]) != 0) {
      prev = FList[i];
      ++i;
    } else {
      if (OnDuplicate)
        OnDuplicate(this, FList[i], prev);
      Delete(i);
    }
  }
}

// Only items are compared with the pivot object, so a deterministic comparison that finds
// the pivot equal to itself keeps both scans inside L..R. The halves are disjoint, so
// recursing into the smaller one and looping on the other gives the same result with a
// stack depth that stays logarithmic.
void TSortedObjectList::QuickSort(std::int32_t L, std::int32_t R) {
  if (R <= L || !Compare)
    return;
  checkIndex(L);
  checkIndex(R);
  while (L < R) {
    TObject *pivot = FList[(L + R) / 2];
    std::int32_t i = L;
    while (Compare(FList[i], pivot) < 0)
      ++i;
    std::int32_t j = R;
    while (Compare(FList[j], pivot) > 0)
      --j;
    while (j > i) {
      TObject *item = FList[i];
      FList[i] = FList[j];
      FList[j] = item;
      do
        ++i;
      while (Compare(FList[i], pivot) < 0);
      do
        --j;
      while (Compare(FList[j], pivot) > 0);
    }
    if (j == i) {
      if (i < R)
        ++i;
      if (j > L)
        --j;
    }
    // Left part L..j (when j > L), right part i..R (when i < R).
    if (j - L < R - i) {
      if (j > L)
        QuickSort(L, j);
      L = i;
    } else {
      if (i < R)
        QuickSort(i, R);
      R = j;
    }
  }
}

void TSortedObjectList::Notify(TObject *Item, TListNotification Action) {
  if (Action == TListNotification::Added) {
    if (OnItemAdded)
      OnItemAdded(this, Item);
  } else if (Action == TListNotification::Deleted) {
    if (OnItemDeleted)
      OnItemDeleted(this, Item);
    if (FOwnsObjects)
      delete Item;
  }
}

} // namespace TDInvoice
