#include "host/demo/DemoGenerator.h"

#include "TDInvoice/Exceptions.h"
#include "host/demo/DemoAttendances.h"
#include "host/demo/DemoFamily.h"
#include "host/demo/DemoHistory.h"
#include "host/demo/DemoService.h"

#include <algorithm>
#include <utility>

namespace TDInvoice::Demo {
namespace {

// Tables in insertion order, so that the SQL reads from the service down to the charges.
void declareTables(TDemoTables &tables) {
  tables.table(QStringLiteral("Parents"),
               {"ParentID", "FamilyName", "AccountName", "BPAYCustRef", "MAddress1", "MAddress2",
                "DistribChild", "UseDirectDebit", "UseCreditCard"});
  tables.table(QStringLiteral("Child"), {"ChildID", "ParentID", "FirstName", "LastName", "Grade"});
  tables.table(QStringLiteral("Invoices"),
               {"InvoiceNo", "IssueDT", "CloseBal", "CloseDate", "ParentID"});
  tables.table(QStringLiteral("InvoiceNotes"), {"ParentID", "InvoiceNote"});
  tables.table(QStringLiteral("HostFundingKeys"),
               {"InvoiceNo", "Position", "LocationID", "CareType"});
  tables.table(QStringLiteral("HostHistory"),
               {"InvoiceNo",      "Position",      "Kind",      "Stamp",        "EntryAmount",
                "WeekEndDate",    "ChildOrMethod", "CareType",  "Sessions",     "CCBRate",
                "CCBPercent",     "CCBAltPercent", "CCBHours",  "FeeAmount",    "ChargedHours",
                "CCBAmount",      "JFAAmount",     "CCRAmount", "AbsencesPaid", "CCBEntry",
                "CareTypeAbbrev", "EnrolmentId",   "EntryText"});
  tables.table(QStringLiteral("UnresolvedAttendances"), {"AttRecNo", "InvoiceNo"});
  tables.table(QStringLiteral("BookingCharges"),
               {"AttRecNo", "ChildID", "SessTypeID", "SessionDate"});
  tables.table(QStringLiteral("Charges"),
               {"AttRecNo", "ChildID", "SessTypeID", "SessionDate", "ChargeID", "Amount"});
  tables.table(QStringLiteral("AbsencesUsed"), {"InvoiceNo", "ChildID", "CumlAbsences"});
}

TDemoTable &rowsOf(TDemoTables &tables, const char *name) {
  return tables.table(QString::fromLatin1(name), {});
}

void addAccount(TDemoTables &tables, const TDemoFamily &family) {
  rowsOf(tables, "Parents")
      .add({sqlInteger(family.parentID), sqlText(family.familyName),
            sqlOptionalText(family.accountName), sqlOptionalText(family.customerRef),
            sqlOptionalText(family.address1), sqlOptionalText(family.address2),
            family.distribChild ? sqlInteger(*family.distribChild) : sqlNull(),
            sqlBoolean(family.directDebit), sqlBoolean(family.creditCard)});
  for (const TDemoChild &child : family.children)
    rowsOf(tables, "Child")
        .add({sqlInteger(child.childID), sqlInteger(family.parentID), sqlText(child.firstName),
              sqlText(child.lastName), sqlOptionalText(child.grade)});
  if (family.note)
    rowsOf(tables, "InvoiceNotes").add({sqlInteger(family.parentID), sqlText(*family.note)});
}

QStringList historyRow(const TDemoFamily &family, int position, const TDemoHistoryEntry &e) {
  return {sqlInteger(family.invoiceNo),
          sqlInteger(position),
          sqlInteger(e.kind),
          sqlInteger(e.stamp),
          sqlMoney(e.amount),
          sqlInteger(e.weekEndDate),
          sqlInteger(e.childOrMethod),
          sqlInteger(e.careType),
          sqlInteger(e.sessions),
          sqlNumber(e.ccbRate, 2),
          sqlNumber(e.ccbPercent, 2),
          sqlNumber(e.ccbAltPercent, 2),
          sqlNumber(e.ccbHours, 2),
          sqlMoney(e.fee),
          sqlNumber(e.chargedHours, 2),
          sqlMoney(e.ccb),
          sqlMoney(e.jfa),
          sqlMoney(e.ccr),
          sqlInteger(e.absencesPaid),
          sqlInteger(e.ccbEntry),
          sqlText(e.careTypeAbbrev),
          sqlText(e.enrolmentId),
          sqlText(e.text)};
}

void addInvoice(TDemoTables &tables, const TDemoFamily &family,
                const std::vector<TDemoHistoryEntry> &history) {
  rowsOf(tables, "Invoices")
      .add({sqlInteger(family.invoiceNo), sqlDateTime(TDemoCalendar::issued()),
            sqlMoney(closingBalance(history)), sqlInteger(dayNumber(TDemoCalendar::closeDate())),
            sqlInteger(family.parentID)});
  for (std::size_t i = 0; i < history.size(); ++i)
    rowsOf(tables, "HostHistory").add(historyRow(family, static_cast<int>(i) + 1, history[i]));

  // Funding keys of the care the invoice charges, in the order it first appears.
  std::vector<std::pair<int, int>> keys;
  for (const TDemoChild &child : family.children)
    for (const TDemoBooking &booking : child.bookings) {
      const std::pair key{booking.kind->locationID, booking.kind->careType};
      if (std::find(keys.begin(), keys.end(), key) == keys.end())
        keys.push_back(key);
    }
  for (std::size_t i = 0; i < keys.size(); ++i)
    rowsOf(tables, "HostFundingKeys")
        .add({sqlInteger(family.invoiceNo), sqlInteger(static_cast<int>(i) + 1),
              sqlInteger(keys[i].first), sqlInteger(keys[i].second)});
}

void addAttendances(TDemoTables &tables, const TDemoFamily &family,
                    const std::vector<TDemoAttendance> &attendances) {
  for (const TDemoAttendance &attendance : attendances) {
    const QStringList booking = {sqlInteger(attendance.attRecNo), sqlInteger(attendance.childID),
                                 sqlInteger(attendance.sessTypeID), sqlDate(attendance.date)};
    rowsOf(tables, "UnresolvedAttendances")
        .add({sqlInteger(attendance.attRecNo), sqlInteger(family.invoiceNo)});
    rowsOf(tables, "BookingCharges").add(booking);
    for (const TDemoCharge &charge : attendance.charges)
      rowsOf(tables, "Charges")
          .add(booking + QStringList{sqlInteger(charge.chargeID), sqlMoney(charge.amount)});
  }
  // Hosts may list an attendance twice; the library asks for its charges once.
  if (!attendances.empty() && family.index % 8 == 6)
    rowsOf(tables, "UnresolvedAttendances")
        .add({sqlInteger(attendances.front().attRecNo), sqlInteger(family.invoiceNo)});
}

void addAbsences(TDemoTables &tables, const TDemoFamily &family,
                 const std::vector<TDemoHistoryEntry> &history, TDemoRandom &random) {
  for (const TDemoChild &child : family.children) {
    if (child.enrolmentId.isEmpty() || !random.chance(75))
      continue;
    rowsOf(tables, "AbsencesUsed")
        .add({sqlInteger(family.invoiceNo), sqlInteger(child.childID),
              sqlInteger(child.absencesBefore + absencesOf(history, child.childID))});
  }
}

} // namespace

TDemoTables generateDemoTables(int families, std::uint64_t seed) {
  if (families < 1 || families > kMaxDemoFamilies)
    throw Exception("The number of families must be from 1 to " + std::to_string(kMaxDemoFamilies));
  TDemoTables tables;
  addServiceTables(tables);
  declareTables(tables);
  for (int index = 0; index < families; ++index) {
    TDemoRandom random = TDemoRandom::forItem(seed, static_cast<std::uint64_t>(index));
    const TDemoFamily family = makeFamily(index, random);
    const std::vector<TDemoHistoryEntry> history = makeHistory(family, random);
    const std::vector<TDemoAttendance> attendances = makePendingAttendances(family, random);
    addAccount(tables, family);
    addInvoice(tables, family, history);
    addAttendances(tables, family, attendances);
    addAbsences(tables, family, history, random);
  }
  return tables;
}

QByteArray generateDemoSql(int families, std::uint64_t seed) {
  return demoSql(generateDemoTables(families, seed), families, seed);
}

} // namespace TDInvoice::Demo
