// Byte offsets of the boundary classes' fields, read through probe subclasses so that
// protected fields can be named. Shared by the native layout test and the 32-bit compile.
#pragma once

#include "TDInvoice/InvHistList.h"
#include "TDInvoice/LocationTable.h"
#include "TDInvoice/ShortStringList.h"

#include <cstddef>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"

namespace TDInvoice::LayoutProbe {

struct ShortStringListProbe : TShortStringList {
  static constexpr std::size_t list() { return offsetof(ShortStringListProbe, FList); }
  static constexpr std::size_t count() { return offsetof(ShortStringListProbe, FCount); }
  static constexpr std::size_t capacity() { return offsetof(ShortStringListProbe, FCapacity); }
  static constexpr std::size_t ownsObjects() {
    return offsetof(ShortStringListProbe, FOwnsObjects);
  }
  static constexpr std::size_t unique() { return offsetof(ShortStringListProbe, Unique); }
  static constexpr std::size_t compare() { return offsetof(ShortStringListProbe, Compare); }
  static constexpr std::size_t onDuplicate() { return offsetof(ShortStringListProbe, OnDuplicate); }
  static constexpr std::size_t onItemAdded() { return offsetof(ShortStringListProbe, OnItemAdded); }
  static constexpr std::size_t onItemDeleted() {
    return offsetof(ShortStringListProbe, OnItemDeleted);
  }
  static constexpr std::size_t sorted() { return offsetof(ShortStringListProbe, Sorted); }
  static constexpr std::size_t reserved() { return offsetof(ShortStringListProbe, Reserved); }
  static constexpr std::size_t nameValuePairs() {
    return offsetof(ShortStringListProbe, NameValuePairs);
  }
  static constexpr std::size_t caseSensitive() {
    return offsetof(ShortStringListProbe, CaseSensitive);
  }
  static constexpr std::size_t separator() { return offsetof(ShortStringListProbe, Separator); }
};

constexpr std::size_t strZData = offsetof(TStrZObj, Data);
constexpr std::size_t strZLen = offsetof(TStrZObj, Len);
constexpr std::size_t strZReserved = offsetof(TStrZObj, Reserved);
constexpr std::size_t strZNameLen = offsetof(TStrZObj, NameLen);
constexpr std::size_t strZValue = offsetof(TStrZObj, Value);
constexpr std::size_t strZTag = offsetof(TStrZObj, Tag);

constexpr std::size_t histKind = offsetof(TInvHistItem, Kind);
constexpr std::size_t histStamp = offsetof(TInvHistItem, Stamp);
constexpr std::size_t histEntryAmount = offsetof(TInvHistItem, EntryAmount);
constexpr std::size_t histRunningBalance = offsetof(TInvHistItem, RunningBalance);
constexpr std::size_t histWeekEndDate = offsetof(TInvHistItem, WeekEndDate);
constexpr std::size_t histEntryText = offsetof(TInvHistItem, EntryText);
constexpr std::size_t histChildOrMethod = offsetof(TInvHistItem, ChildOrMethod);
constexpr std::size_t histCareType = offsetof(TInvHistItem, CareType);
constexpr std::size_t histSessions = offsetof(TInvHistItem, Sessions);
constexpr std::size_t histCCBRate = offsetof(TInvHistItem, CCBRate);
constexpr std::size_t histCCBPercent = offsetof(TInvHistItem, CCBPercent);
constexpr std::size_t histCCBAltPercent = offsetof(TInvHistItem, CCBAltPercent);
constexpr std::size_t histCCBHours = offsetof(TInvHistItem, CCBHours);
constexpr std::size_t histFeeAmount = offsetof(TInvHistItem, FeeAmount);
constexpr std::size_t histChargedHours = offsetof(TInvHistItem, ChargedHours);
constexpr std::size_t histCCBAmount = offsetof(TInvHistItem, CCBAmount);
constexpr std::size_t histJFAAmount = offsetof(TInvHistItem, JFAAmount);
constexpr std::size_t histCCRAmount = offsetof(TInvHistItem, CCRAmount);
constexpr std::size_t histAbsencesPaid = offsetof(TInvHistItem, AbsencesPaid);
constexpr std::size_t histCCBEntry = offsetof(TInvHistItem, CCBEntry);
constexpr std::size_t histCareTypeAbbrev = offsetof(TInvHistItem, CareTypeAbbrev);
constexpr std::size_t histEnrolmentId = offsetof(TInvHistItem, EnrolmentId);

constexpr std::size_t tableLocations = offsetof(TLocationTable, Locations);
constexpr std::size_t recLocationID = offsetof(TLocationRec, LocationID);
constexpr std::size_t recName = offsetof(TLocationRec, Name);
constexpr std::size_t recCareType = offsetof(TLocationRec, CareType);

} // namespace TDInvoice::LayoutProbe

#pragma GCC diagnostic pop
