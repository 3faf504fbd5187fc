// The payment slip: account holder, reference, period ending, past amount, estimated fees,
// amount to pay and the one line of instructions, including the due-date rule.
#include "ProbeForm.h"

#include "invoice/InvoiceFormats.h"
#include "invoice/layout/InvoiceStrings.h"

namespace TDInvoice::Testing {
namespace {

using namespace InvoiceStrings;
namespace F = InvoiceFormats;

struct TSlip {
  QString holder, reference, periodEnding, pastLabel, past, fees, payLabel, pay, instructions;
};

struct TSlipSetup {
  TCurrency closeBal = 0;
  TCurrency fees = 0;
  bool directDebit = false;
  bool creditCard = false;
  std::optional<int> debitDay; // debit date for the close date
  int dueWeek = 0;
  int dueDay = 0;
  std::optional<QString> issued = QStringLiteral("2009-01-05 09:00");
  int closeDate = dayNumber(2009, 1, 4);
};

TSlip slipFor(const TSlipSetup &s) {
  TInvoiceDatabase db;
  TServiceRow service;
  service.DueWeek = s.dueWeek;
  service.DueDay = s.dueDay;
  db.setService(service);
  db.addParent({.UseDirectDebit = s.directDebit, .UseCreditCard = s.creditCard});
  db.addInvoice({.IssueDT = s.issued, .CloseBal = s.closeBal, .CloseDate = s.closeDate});
  if (s.debitDay)
    db.addDebitDate(s.closeDate, *s.debitDay);
  auto form = makeProbeForm();
  form->startFirstInvoice();
  form->FEstFeesTotal = s.fees; // as the estimated-fees section left it
  bool printBand = true;
  form->InvoiceFooterBeforePrint(nullptr, printBand);
  EXPECT_TRUE(printBand);
  return {form->caption("lblAccountHolder"),    form->caption("lblBPAYCustRef"),
          form->caption("lblCloseDate"),        form->caption("lblPastDueLabel"),
          form->caption("lblPastDue"),          form->caption("lblEstFees"),
          form->caption("lblPleasePayLabel"),   form->caption("lblPayAmt"),
          form->caption("lblPaymtInstructions")};
}

QString dueBy(int year, int month, int day) {
  return QString::fromLatin1(MSG_PaymentDueBy) +
         F::formatDateTime(dayNumber(year, month, day), FMT_DateShortMonth);
}

TEST(PaymentSlipTest, AmountsAndTheirCaptions) {
  struct TCase {
    TCurrency closeBal, fees;
    QString pastLabel, past, fees_, payLabel, pay, instructions;
  } cases[] = {
      {cents(12000), cents(3000), "Past Due", "$120.00", "$30.00", "Please Pay", "$150.00", ""},
      {cents(-4000), cents(2500), "Past Credit", "-$40.00", "$25.00", "Net Credit", "-$15.00",
       "A/c in credit. No payment necessary."},
      {cents(-2500), cents(2500), "Past Credit", "-$25.00", "$25.00", "Please Pay", "$0.00", ""},
      {0, 0, "Past Due", "$0.00", "$0.00", "Please Pay", "$0.00", ""},
  };
  for (const TCase &c : cases) {
    const TSlip slip = slipFor({.closeBal = c.closeBal, .fees = c.fees});
    SCOPED_TRACE(c.past.toStdString());
    EXPECT_EQ(slip.pastLabel, c.pastLabel);
    EXPECT_EQ(slip.past, c.past);
    EXPECT_EQ(slip.fees, c.fees_);
    EXPECT_EQ(slip.payLabel, c.payLabel);
    EXPECT_EQ(slip.pay, c.pay);
    EXPECT_EQ(slip.instructions, c.instructions);
  }
}

TEST(PaymentSlipTest, WhoPaysForWhichPeriod) {
  const TSlip slip = slipFor({});
  EXPECT_EQ(slip.holder, QStringLiteral("Nguyen: Lan Nguyen"));
  EXPECT_EQ(slip.reference, QStringLiteral("100017"));
  EXPECT_EQ(slip.periodEnding, QStringLiteral("4/01/2009"));
  EXPECT_EQ(slipFor({.closeDate = 0}).periodEnding, QString());
}

TEST(PaymentSlipTest, AccountHolderKeepsTheColonWithoutAnAccountName) {
  TInvoiceDatabase db;
  db.setService();
  db.addParent({.AccountName = std::nullopt});
  db.addInvoice();
  auto form = makeProbeForm();
  form->startFirstInvoice();
  bool printBand = true;
  form->InvoiceFooterBeforePrint(nullptr, printBand);
  EXPECT_EQ(form->caption("lblAccountHolder"), QStringLiteral("Nguyen: "));
}

TEST(PaymentSlipTest, InstructionsTakeTheFirstRuleThatApplies) {
  const TCurrency owing = cents(5000);
  struct TCase {
    const char *what;
    TSlipSetup setup;
    QString expected;
  } cases[] = {
      {"direct debit with a debit date",
       {.closeBal = owing,
        .directDebit = true,
        .debitDay = dayNumber(2009, 1, 20),
        .dueWeek = 1,
        .dueDay = 6},
       QString::fromLatin1(MSG_AmountWillBeDebited) +
           F::formatDateTime(dayNumber(2009, 1, 20), FMT_DateShortMonth)},
      {"card with a debit date",
       {.closeBal = owing, .creditCard = true, .debitDay = dayNumber(2009, 1, 20)},
       QString::fromLatin1(MSG_AmountWillBeDebited) +
           F::formatDateTime(dayNumber(2009, 1, 20), FMT_DateShortMonth)},
      {"direct debit without a debit date, despite terms",
       {.closeBal = owing, .directDebit = true, .dueWeek = 1, .dueDay = 6},
       ""},
      {"in credit, despite direct debit",
       {.closeBal = -owing, .directDebit = true, .debitDay = dayNumber(2009, 1, 20)},
       QString::fromLatin1(MSG_AccountInCredit)},
      {"nothing to pay", {.closeBal = 0, .dueWeek = 1, .dueDay = 6}, ""},
      {"no terms", {.closeBal = owing}, ""},
      {"terms", {.closeBal = owing, .dueWeek = 1, .dueDay = 6}, dueBy(2009, 1, 9)},
      {"no issue date", {.closeBal = owing, .dueWeek = 1, .dueDay = 6, .issued = std::nullopt}, ""},
  };
  for (const TCase &c : cases)
    EXPECT_EQ(slipFor(c.setup).instructions, c.expected) << c.what;
}

TEST(PaymentSlipTest, DueDateIsTheNthOccurrenceOfTheDueWeekday) {
  struct TCase {
    const char *issued;
    int dueWeek, dueDay; // dueDay 1 = Sunday ... 7 = Saturday
    QDate due;
  } cases[] = {
      {"2009-01-05", 1, 6, {2009, 1, 9}}, // Monday, Friday: offset 4
      {"2009-01-05", 2, 6, {2009, 1, 16}},
      {"2009-01-09", 1, 6, {2009, 1, 16}}, // Friday itself: offset 0, the next one
      {"2009-01-10", 1, 6, {2009, 1, 16}}, // Saturday: offset -1
      {"2009-01-11", 1, 1, {2009, 1, 11}}, // a Sunday counts itself for due day Sunday
      {"2009-01-11", 2, 1, {2009, 1, 18}},
      {"2009-01-05", 1, 2, {2009, 1, 12}}, // Monday, due Monday: the next week's
      {"2009-01-05", 1, 3, {2009, 1, 6}},  // Tuesday
      {"2009-12-28", 1, 6, {2010, 1, 1}},  // across the year end
  };
  for (const TCase &c : cases) {
    const TSlip slip = slipFor({.closeBal = cents(100),
                                .dueWeek = c.dueWeek,
                                .dueDay = c.dueDay,
                                .issued = QString::fromLatin1(c.issued) + " 17:30"});
    EXPECT_EQ(slip.instructions, dueBy(c.due.year(), c.due.month(), c.due.day()))
        << c.issued << " week " << c.dueWeek << " day " << c.dueDay;
  }
}

TEST(PaymentSlipTest, ThePublishedExampleReadsAsTheSlipPrintsIt) {
  EXPECT_EQ(slipFor({.closeBal = cents(100), .dueWeek = 1, .dueDay = 6}).instructions,
            QStringLiteral("Payment due by 9-Jan-09"));
  EXPECT_EQ(
      slipFor({.closeBal = cents(100), .directDebit = true, .debitDay = dayNumber(2009, 1, 20)})
          .instructions,
      QStringLiteral("Amount will be debitted on 20-Jan-09"));
}

TEST(PaymentSlipTest, PastAmountIsTheClosingBalanceOfTheLastRowOfTheInvoice) {
  // Two rows of one invoice: one header, one slip, whose past amount is the second row's.
  TInvoiceDatabase db;
  db.setService();
  db.addParent();
  db.host().execute(QStringLiteral("CREATE TABLE InvoiceRows (InvoiceNo INTEGER, IssueDT DATETIME, "
                                   "CloseBal CURRENCY, CloseDate INTEGER, ParentID INTEGER)"));
  db.host().execute(QStringLiteral("INSERT INTO InvoiceRows VALUES (1001, '2009-01-05', 10, 0, 1), "
                                   "(1001, '2009-01-05', 20, 0, 1)"));
  TInvoiceReportRun run;
  run.load("SELECT * FROM InvoiceRows");
  run.run();
  ASSERT_EQ(run.pages().size(), 1u);
  EXPECT_EQ(run.bandsOnPage(1).count(QStringLiteral("grphdrInvoice")), 1);
  EXPECT_EQ(run.bandsOnPage(1).count(QStringLiteral("DetailBand1")), 2);
  EXPECT_EQ(run.bandsOnPage(1).count(QStringLiteral("InvoiceFooter")), 1);
  EXPECT_EQ(run.pagesWithText(QStringLiteral("$20.00")), std::vector<int>{1});
  EXPECT_TRUE(run.pagesWithText(QStringLiteral("$10.00")).empty());
}

} // namespace
} // namespace TDInvoice::Testing
