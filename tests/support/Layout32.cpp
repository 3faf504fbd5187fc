// Compiled with -m32 only: the boundary classes must have the host's 32-bit layout, where
// the class reference and every pointer take 4 bytes and 64-bit integers align to 4 unless
// told otherwise.
#include "LayoutProbe.h"

namespace P = TDInvoice::LayoutProbe;
using TDInvoice::TInvHistItem;
using TDInvoice::TLocationRec;
using TDInvoice::TLocationTable;
using TDInvoice::TStrZObj;
using Probe = P::ShortStringListProbe;

static_assert(sizeof(void *) == 4, "compile this check with -m32");

static_assert(P::strZData == 4 && P::strZLen == 8 && P::strZReserved == 12 &&
              P::strZNameLen == 16 && P::strZValue == 20 && P::strZTag == 24);
static_assert(sizeof(TStrZObj) == 28);

static_assert(Probe::list() == 4 && Probe::count() == 8 && Probe::capacity() == 12 &&
              Probe::ownsObjects() == 16);
static_assert(Probe::unique() == 17 && Probe::compare() == 20 && Probe::onDuplicate() == 28 &&
              Probe::onItemAdded() == 36 && Probe::onItemDeleted() == 44);
static_assert(Probe::sorted() == 52 && Probe::reserved() == 53 && Probe::nameValuePairs() == 54 &&
              Probe::caseSensitive() == 55 && Probe::separator() == 56);
static_assert(sizeof(TDInvoice::TShortStringList) == 60);

static_assert(P::histKind == 4 && P::histStamp == 8);
static_assert(P::histEntryAmount == 16 && P::histRunningBalance == 24);
static_assert(P::histWeekEndDate == 32 && P::histEntryText == 32 && P::histChildOrMethod == 36);
static_assert(P::histCareType == 44 && P::histSessions == 48);
static_assert(P::histCCBRate == 52 && P::histCCBPercent == 56 && P::histCCBAltPercent == 60 &&
              P::histCCBHours == 64);
static_assert(P::histFeeAmount == 72 && P::histChargedHours == 80);
static_assert(P::histCCBAmount == 88 && P::histJFAAmount == 96 && P::histCCRAmount == 104);
static_assert(P::histAbsencesPaid == 112 && P::histCCBEntry == 116);
static_assert(P::histCareTypeAbbrev == 120 && P::histEnrolmentId == 136);
static_assert(sizeof(TInvHistItem::EntryText) == 256 && sizeof(TInvHistItem::EnrolmentId) == 16);
static_assert(sizeof(TInvHistItem) == 288);

static_assert(P::tableLocations == 4);
static_assert(P::tableLocations + 11 * sizeof(TLocationRec *) == 48);
static_assert(sizeof(TLocationTable) == 52);
static_assert(P::recLocationID == 0 && P::recName == 30 && P::recCareType == 38);
static_assert(sizeof(TLocationRec::Name) == 8);
