// The root of the classes that cross the library boundary, and the method references that
// the lists call back through.
//
// Host and library build these objects from the same declarations, so their layouts are part
// of the host contract: the class reference (the vtable pointer) sits at offset 0 and the
// fields follow in declaration order. Objects are allocated from the shared allocator, so
// either side may destroy what the other created, through the virtual destructor.
#pragma once

#include "TDInvoice/SharedAllocator.h"

#include <cstdint>

namespace TDInvoice {

class TObject : public TSharedObject {
public:
  TObject() = default;
  TObject(const TObject &) = delete;
  TObject &operator=(const TObject &) = delete;
  virtual ~TObject();
};

class TSortedObjectList;

// A method reference is a plain pair of code and object; the object is passed to the code as
// its first argument. It counts as set when its code is set.

// Negative when Item1 comes before Item2, 0 when they are equal, positive after.
struct TListCompare {
  int (*Code)(void *Self, TObject *Item1, TObject *Item2) = nullptr;
  void *Self = nullptr;
  explicit operator bool() const { return Code != nullptr; }
  int operator()(TObject *Item1, TObject *Item2) const { return Code(Self, Item1, Item2); }
};

// An equal item was refused or removed; ExistingItem is the one that stays.
struct TListDuplicateEvent {
  void (*Code)(void *Self, TSortedObjectList *Sender, TObject *NewItem,
               TObject *ExistingItem) = nullptr;
  void *Self = nullptr;
  explicit operator bool() const { return Code != nullptr; }
  void operator()(TSortedObjectList *Sender, TObject *NewItem, TObject *ExistingItem) const {
    Code(Self, Sender, NewItem, ExistingItem);
  }
};

// An item entered or left a list.
struct TListItemEvent {
  void (*Code)(void *Self, TSortedObjectList *Sender, TObject *Item) = nullptr;
  void *Self = nullptr;
  explicit operator bool() const { return Code != nullptr; }
  void operator()(TSortedObjectList *Sender, TObject *Item) const { Code(Self, Sender, Item); }
};

// Binds a member function of `self` as a method reference, e.g.
// `makeListCompare<&TShortStringList::CompareItems>(this)`.
template <auto Member, class C> TListCompare makeListCompare(C *self) {
  return {
      [](void *s, TObject *a, TObject *b) -> int { return (static_cast<C *>(s)->*Member)(a, b); },
      self};
}

template <auto Member, class C> TListDuplicateEvent makeDuplicateEvent(C *self) {
  return {[](void *s, TSortedObjectList *sender, TObject *newItem, TObject *existing) {
            (static_cast<C *>(s)->*Member)(sender, newItem, existing);
          },
          self};
}

template <auto Member, class C> TListItemEvent makeItemEvent(C *self) {
  return {[](void *s, TSortedObjectList *sender, TObject *item) {
            (static_cast<C *>(s)->*Member)(sender, item);
          },
          self};
}

} // namespace TDInvoice
