#include "TDInvoice/Exceptions.h"
#include "TDInvoice/SortedObjectList.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace TDInvoice {

TObjectList::TObjectList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}

TObjectList::~TObjectList() {
  // A derived list with its own notification has cleared already; this frees what is left.
  Clear();
}

void TObjectList::indexError(std::int32_t Index) {
  throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

std::int32_t TObjectList::IndexOf(const TObject *Item) const {
  for (std::int32_t i = 0; i < FCount; ++i)
    if (FList[i] == Item)
      return i;
  return -1;
}

void TObjectList::grow() {
  std::int32_t delta = 4;
  if (FCapacity > 64)
    delta = FCapacity / 4;
  else if (FCapacity > 8)
    delta = 16;
  if (FCapacity > INT32_MAX - delta)
    throw EListError("List capacity out of bounds (" + std::to_string(FCapacity) + ")");
  const std::int32_t capacity = FCapacity + delta;
  void *array =
      currentAllocator().Resize(FList, sizeof(TObject *) * static_cast<std::size_t>(capacity));
  FList = static_cast<TObject **>(array);
  FCapacity = capacity;
}

std::int32_t TObjectList::Add(TObject *Item) {
  const std::int32_t index = FCount;
  Insert(index, Item);
  return index;
}

void TObjectList::Insert(std::int32_t Index, TObject *Item) {
  if (Index < 0 || Index > FCount)
    indexError(Index);
  if (FCount == FCapacity)
    grow();
  if (Index < FCount)
    std::memmove(FList + Index + 1, FList + Index,
                 sizeof(TObject *) * static_cast<std::size_t>(FCount - Index));
  FList[Index] = Item;
  ++FCount;
  Notify(Item, TListNotification::Added);
}

void TObjectList::Delete(std::int32_t Index) {
  checkIndex(Index);
  TObject *item = FList[Index];
  --FCount;
  if (Index < FCount)
    std::memmove(FList + Index, FList + Index + 1,
                 sizeof(TObject *) * static_cast<std::size_t>(FCount - Index));
  Notify(item, TListNotification::Deleted);
}

std::int32_t TObjectList::Remove(TObject *Item) {
  const std::int32_t index = IndexOf(Item);
  if (index >= 0)
    Delete(index);
  return index;
}

TObject *TObjectList::Extract(TObject *Item) {
  const std::int32_t index = IndexOf(Item);
  if (index < 0)
    return nullptr;
  --FCount;
  if (index < FCount)
    std::memmove(FList + index, FList + index + 1,
                 sizeof(TObject *) * static_cast<std::size_t>(FCount - index));
  Notify(Item, TListNotification::Extracted);
  return Item;
}

void TObjectList::Clear() {
  while (FCount > 0)
    Delete(FCount - 1);
  sharedFree(FList);
  FList = nullptr;
  FCapacity = 0;
}

void TObjectList::Exchange(std::int32_t Index1, std::int32_t Index2) {
  checkIndex(Index1);
  checkIndex(Index2);
  TObject *item = FList[Index1];
  FList[Index1] = FList[Index2];
  FList[Index2] = item;
}

void TObjectList::Notify(TObject *Item, TListNotification Action) {
  if (Action == TListNotification::Deleted && FOwnsObjects)
    delete Item;
}

} // namespace TDInvoice
