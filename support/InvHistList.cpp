#include "TDInvoice/InvHistList.h"

namespace TDInvoice {
namespace {

int compareInts(std::int32_t a, std::int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

} // namespace

TInvHistItem::~TInvHistItem() = default;

TInvHistList::TInvHistList() : TSortedObjectList(true) {}

TInvHistList::~TInvHistList() = default;

// Entries with equal stamps all compare equal unless a charge line is involved; ranking a
// charge line after the other entries of its stamp keeps the relation transitive, which
// the charge lines' week order relies on when other entries share their stamp.
int TInvHistList::CompareInvHistItems(void *, TObject *Item1, TObject *Item2) {
  const auto *a = static_cast<const TInvHistItem *>(Item1);
  const auto *b = static_cast<const TInvHistItem *>(Item2);
  if (const int byStamp = compareInts(a->Stamp, b->Stamp))
    return byStamp;
  const bool chargeA = a->Kind == kHistCharge;
  const bool chargeB = b->Kind == kHistCharge;
  if (chargeA && chargeB)
    return compareInts(a->WeekEndDate, b->WeekEndDate);
  return compareInts(chargeA, chargeB);
}

void TInvHistList::SortEntries() { SetCompare(TListCompare{&CompareInvHistItems, this}); }

} // namespace TDInvoice
