#include "host/demo/DemoService.h"

#include "host/demo/DemoFamily.h"
#include "host/demo/DemoGenerator.h"

namespace TDInvoice::Demo {
namespace {

// Cash, cheque, direct credit and card.
constexpr int kPaymentOptions = 1 | 2 | 4 | 8;
// Payment due on the first Friday (1 = Sunday .. 7 = Saturday) after the issue date.
constexpr int kDueWeek = 1;
constexpr int kDueDay = 6;

void addServiceDetails(TDemoTables &tables) {
  tables
      .table(QStringLiteral("[User Details]"),
             {"ServiceName", "Address", "Phone", "ABN", "BPAYBiller", "BSB", "AccountNo", "DueWeek",
              "DueDay", "PaymentOptions", "PaymentSlipOption", "ServiceEmail"})
      .add({sqlText(QStringLiteral("Banksia Grove Early Learning")),
            sqlText(QStringLiteral("14 Banksia Grove, Ashfield NSW 2131")),
            sqlText(QStringLiteral("(02) 9716 4420")), sqlText(QStringLiteral("62714308296")),
            sqlText(QStringLiteral("284917")), sqlText(QStringLiteral("062-118")),
            sqlText(QStringLiteral("10457733")), sqlInteger(kDueWeek), sqlInteger(kDueDay),
            sqlInteger(kPaymentOptions), sqlInteger(0),
            sqlText(QStringLiteral("accounts@banksiagrove.example"))});
}

void addLocations(TDemoTables &tables) {
  TDemoTable &locations =
      tables.table(QStringLiteral("HostLocations"), {"Position", "LocationID", "Name", "CareType"});
  locations.add({"1", "1", sqlText(QStringLiteral("Banksia")), sqlInteger(ctLongDay)});
  locations.add({"2", "2", sqlText(QStringLiteral("Wattle")), sqlInteger(ctAfterSchool)});

  TDemoTable &funding =
      tables.table(QStringLiteral("Funding"), {"LocationID", "CareType", "CCBApprovalId"});
  funding.add({"1", sqlInteger(ctLongDay), sqlText(QStringLiteral("LDC-1047-2281"))});
  funding.add({"2", sqlInteger(ctAfterSchool), sqlText(QStringLiteral("OSH-2203-5516"))});
  funding.add({"2", sqlInteger(ctBeforeSchool), sqlText(QStringLiteral("OSH-2203-5517"))});
  funding.add({"2", sqlInteger(ctVacation), sqlNull()}); // approval pending
}

void addPriceListNames(TDemoTables &tables) {
  TDemoTable &sessions = tables.table(QStringLiteral("SessionTypes"), {"SessTypeID", "AbbrevName"});
  for (const TDemoSessionKind *kind :
       {&longDaySession(), &halfDaySession(), &beforeSchoolSession(), &afterSchoolSession(),
        &vacationSession(), &weekendSession()}) {
    static const char *const names[] = {"", "FD", "HD", "BSC", "ASC", "VAC", "WKD"};
    sessions.add(
        {sqlInteger(kind->sessTypeID), sqlText(QString::fromLatin1(names[kind->sessTypeID]))});
  }
  TDemoTable &charges = tables.table(QStringLiteral("ChargeTypes"), {"ChargeID", "ChgDesc"});
  charges.add({"1", sqlText(QStringLiteral("Daily fee"))});
  charges.add({"2", sqlText(QStringLiteral("Session fee"))});
  charges.add({sqlInteger(kChargeLateCollection),
               sqlText(QStringLiteral("Late collection fee (per 15 minutes)"))});
  charges.add({sqlInteger(kChargeExcursion), sqlText(QStringLiteral("Excursion levy"))});
  charges.add({"5", sqlText(QStringLiteral("Nappies and sunscreen"))});
}

void addPeriod(TDemoTables &tables) {
  const int closeDate = dayNumber(TDemoCalendar::closeDate());
  tables.table(QStringLiteral("HostInvoiceMessages"), {"CloseDate", "Message"})
      .add({sqlInteger(closeDate), sqlText(demoInvoiceMessage())});
  tables.table(QStringLiteral("InvoiceDebitDates"), {"CloseDate", "DebitDate"})
      .add({sqlInteger(closeDate), sqlDate(TDemoCalendar::debitDate())});
}

} // namespace

QString demoInvoiceMessage() {
  const char *const lines[] = {
      R"({\rtf1\ansi\ansicpg1252\deff0\deflang3081{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fswiss\fprq2\fcharset0 Arial Narrow;}})",
      R"({\colortbl ;\red0\green43\blue105;\red192\green0\blue0;})",
      R"({\*\generator Msftedit 5.41.21.2510;}\viewkind4\uc1\pard\cf1\b\f0\fs20 Easter closure\cf0\b0\par)",
      R"(The centre is closed on Good Friday 10 April and Easter Monday 13 April. No fees are charged for public holidays.\par)",
      R"(\par)",
      R"(Our fee review takes effect from Monday 6 July: the daily fee for long day care will be \b $101.00\b0 .\par)",
      R"(\cf2\i Caf\'e9 mornings\cf0\i0  for families are held on the first Tuesday of each month at 8:30 am.\par)",
      R"(\pard\f1\fs18 Questions about your account? Call the office or email accounts@banksiagrove.example.\f0\fs20\par)",
      R"(})",
  };
  QStringList text;
  for (const char *line : lines)
    text.append(QString::fromLatin1(line));
  return text.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void addServiceTables(TDemoTables &tables) {
  addServiceDetails(tables);
  addLocations(tables);
  addPriceListNames(tables);
  addPeriod(tables);
}

} // namespace TDInvoice::Demo
