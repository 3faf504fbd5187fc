// Owning object lists: the plain array list and the sorted list that the keyed collections
// (short-string, history, fee lists) are built on.
//
// Both cross the library boundary inside host-built objects, so their fields are declared in
// the shared order: after the class reference the array, count, capacity and ownership flag,
// then the sorted list's Unique flag and its four method references.
#pragma once

#include "TDInvoice/Object.h"

#include <cstdint>

namespace TDInvoice {

enum class TListNotification { Added, Extracted, Deleted };

// An array of object references. The array comes from the shared allocator and grows by 4
// slots up to a capacity of 8, by 16 up to 64, then by a quarter. Indexes outside the list
// raise EListError "List index out of bounds (%d)".
class TObjectList : public TObject {
public:
  explicit TObjectList(bool OwnsObjects = true);
  ~TObjectList() override;

  std::int32_t Count() const { return FCount; }
  std::int32_t Capacity() const { return FCapacity; }
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  TObject *Items(std::int32_t Index) const {
    checkIndex(Index);
    return FList[Index];
  }
  std::int32_t IndexOf(const TObject *Item) const;
  // The reference array itself (Count() entries), for unchecked bulk reads.
  TObject *const *List() const { return FList; }

  // Append / insert; both notify Added after the item is stored, so from then on the list
  // holds (and, when owning, frees) the item even if the notification throws.
  std::int32_t Add(TObject *Item);
  void Insert(std::int32_t Index, TObject *Item);
  // Takes the item out, then notifies Deleted (an owning list frees it there).
  void Delete(std::int32_t Index);
  // Deletes the item if present; returns its former index or -1.
  std::int32_t Remove(TObject *Item);
  // Takes the item out without freeing it (notifies Extracted); nullptr when absent.
  TObject *Extract(TObject *Item);
  // Deletes every item, last first, then releases the array.
  void Clear();
  void Exchange(std::int32_t Index1, std::int32_t Index2);

protected:
  // The base frees a deleted item when the list owns its items.
  virtual void Notify(TObject *Item, TListNotification Action);
  [[noreturn]] static void indexError(std::int32_t Index);
  void checkIndex(std::int32_t Index) const {
    if (Index < 0 || Index >= FCount)
      indexError(Index);
  }

  TObject **FList = nullptr;
  std::int32_t FCount = 0;
  std::int32_t FCapacity = 0;
  bool FOwnsObjects;

private:
  void grow();
};

// A list that keeps itself in the order of its comparison once one is installed, and with
// Unique refuses items equal to a present one (offering them to OnDuplicate first).
// Until a comparison is installed Add appends. The plain Add/Insert of TObjectList bypass
// the order; use them only on a list without comparison.
class TSortedObjectList : public TObjectList {
public:
  explicit TSortedObjectList(bool OwnsObjects = true);
  // Clears here, so that the list's own notification (OnItemDeleted, freeing) runs.
  ~TSortedObjectList() override;

  // Binary search with Compare (item as first argument, Key as second). Index is the equal
  // item's position when found with Unique, else the first position not less than Key.
  // Raises EListError "Cannot use FindValue. No Compare function set." without a comparison.
  bool FindValue(TObject *Key, std::int32_t &Index) const;
  // Stores Item where the order requires and returns its index. A refused duplicate (Unique)
  // is offered to OnDuplicate, then, when owning, announced to OnItemDeleted and freed; the
  // present item's index is returned. If Add throws before storing Item, Item is not freed.
  std::int32_t Add(TObject *Item);

  void SetCompare(TListCompare Value);
  void SetUnique(bool Value);
  void SetOnDuplicate(TListDuplicateEvent Value) { OnDuplicate = Value; }
  void SetOnItemAdded(TListItemEvent Value) { OnItemAdded = Value; }
  void SetOnItemDeleted(TListItemEvent Value) { OnItemDeleted = Value; }

  bool unique() const { return Unique; }
  TListCompare compare() const { return Compare; }
  TListDuplicateEvent onDuplicate() const { return OnDuplicate; }
  TListItemEvent onItemAdded() const { return OnItemAdded; }
  TListItemEvent onItemDeleted() const { return OnItemDeleted; }

  // Keeps the first of every run of equal neighbours; runs only with Compare set and Unique.
  void RemoveDuplicates();
  // Sorts positions L..R in place (not stable).
  void QuickSort(std::int32_t L, std::int32_t R);

protected:
  void Notify(TObject *Item, TListNotification Action) override;

  bool Unique = false;
  TListCompare Compare;
  TListDuplicateEvent OnDuplicate;
  TListItemEvent OnItemAdded;
  TListItemEvent OnItemDeleted;
};

} // namespace TDInvoice
