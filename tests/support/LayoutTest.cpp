// The boundary classes on this (64-bit) build. The host contract is the 32-bit layout,
// checked by the separate 32-bit compile; here the class reference and the pointer fields
// take 8 bytes, so everything behind a pointer moves, while the history item keeps its
// offsets from EntryAmount on.
#include "LayoutProbe.h"

#include <gtest/gtest.h>

namespace TDInvoice {
namespace {

namespace P = LayoutProbe;
using Probe = P::ShortStringListProbe;

struct Field {
  const char *name;
  std::size_t actual;
  std::size_t expected;
};

void expectLayout(const std::vector<Field> &fields) {
  for (const Field &f : fields)
    EXPECT_EQ(f.actual, f.expected) << f.name;
}

TEST(NativeLayoutTest, PointersWidenOnThisBuild) { ASSERT_EQ(sizeof(void *), 8u); }

TEST(NativeLayoutTest, StrZObj) {
  expectLayout({
      {"Data (after the 8-byte class reference)", P::strZData, 8},
      {"Len (after the 8-byte Data pointer)", P::strZLen, 16},
      {"Reserved", P::strZReserved, 20},
      {"NameLen", P::strZNameLen, 24},
      {"Value (pointer, 8-aligned)", P::strZValue, 32},
      {"Tag (after the 8-byte Value pointer)", P::strZTag, 40},
      {"size", sizeof(TStrZObj), 48},
  });
}

TEST(NativeLayoutTest, ShortStringList) {
  expectLayout({
      {"array", Probe::list(), 8},
      {"count (after the 8-byte array pointer)", Probe::count(), 16},
      {"capacity", Probe::capacity(), 20},
      {"OwnsObjects", Probe::ownsObjects(), 24},
      {"Unique", Probe::unique(), 25},
      {"Compare (two pointers, 8-aligned)", Probe::compare(), 32},
      {"OnDuplicate", Probe::onDuplicate(), 48},
      {"OnItemAdded", Probe::onItemAdded(), 64},
      {"OnItemDeleted", Probe::onItemDeleted(), 80},
      {"Sorted", Probe::sorted(), 96},
      {"reserved byte", Probe::reserved(), 97},
      {"NameValuePairs", Probe::nameValuePairs(), 98},
      {"CaseSensitive", Probe::caseSensitive(), 99},
      {"Separator", Probe::separator(), 100},
      {"size", sizeof(TShortStringList), 104},
  });
}

TEST(NativeLayoutTest, InvHistItem) {
  expectLayout({
      {"Kind (after the 8-byte class reference)", P::histKind, 8},
      {"Stamp", P::histStamp, 12},
      {"EntryAmount", P::histEntryAmount, 16},
      {"RunningBalance", P::histRunningBalance, 24},
      {"WeekEndDate", P::histWeekEndDate, 32},
      {"EntryText", P::histEntryText, 32},
      {"ChildOrMethod", P::histChildOrMethod, 36},
      {"CareType", P::histCareType, 44},
      {"Sessions", P::histSessions, 48},
      {"CCBRate", P::histCCBRate, 52},
      {"CCBPercent", P::histCCBPercent, 56},
      {"CCBAltPercent", P::histCCBAltPercent, 60},
      {"CCBHours", P::histCCBHours, 64},
      {"FeeAmount", P::histFeeAmount, 72},
      {"ChargedHours", P::histChargedHours, 80},
      {"CCBAmount", P::histCCBAmount, 88},
      {"JFAAmount", P::histJFAAmount, 96},
      {"CCRAmount", P::histCCRAmount, 104},
      {"AbsencesPaid", P::histAbsencesPaid, 112},
      {"CCBEntry", P::histCCBEntry, 116},
      {"CareTypeAbbrev", P::histCareTypeAbbrev, 120},
      {"EnrolmentId", P::histEnrolmentId, 136},
      {"size", sizeof(TInvHistItem), 288},
  });
}

TEST(NativeLayoutTest, LocationTable) {
  expectLayout({
      {"first record reference (after the 8-byte class reference)", P::tableLocations, 8},
      {"twelfth record reference", P::tableLocations + 11 * sizeof(TLocationRec *), 96},
      {"table size", sizeof(TLocationTable), 104},
      {"LocationID", P::recLocationID, 0},
      {"name", P::recName, 30},
      {"care type", P::recCareType, 38},
      {"record size", sizeof(TLocationRec), 40},
  });
}

} // namespace
} // namespace TDInvoice
