// The sections as they land on the recorded page of a whole run: history lines in their
// columns, the estimated-fees grid and totals, and the slip's boxes.
#include "InvoiceTestSupport.h"

#include "invoice/InvoiceFormats.h"
#include "invoice/layout/InvoiceStrings.h"

namespace TDInvoice::Testing {
namespace {

namespace F = InvoiceFormats;
using Layout::findBand;
using Layout::findPrintable;

class PrintedSectionsTest : public ::testing::Test {
protected:
  PrintedSectionsTest() : layout(Layout::layoutFor(Layout::TFormClass::Standard)) {
    db.setService();
  }

  // The x of a label's text anchor, by its alignment (the label's design box).
  int anchorX(std::string_view band, std::string_view label) const {
    const Layout::TPrintableDesc &p = *findPrintable(*findBand(layout, band), label);
    double x = layout.page.leftMargin + p.left.native();
    if (p.alignment == Layout::TAlignment::taRightJustify)
      x += p.width.native();
    else if (p.alignment == Layout::TAlignment::taCenter)
      x += p.width.native() / 2;
    return dev(x);
  }
  int topOf(std::string_view band, std::string_view label) const {
    return dev(findPrintable(*findBand(layout, band), label)->top.native());
  }

  // The band prints of a run by band name, in order.
  static std::vector<TBandPrint> prints(const TInvoiceReportRun &run, const QString &band) {
    std::vector<TBandPrint> result;
    for (const TBandPrint &print : run.bandPrints())
      if (print.band == band)
        result.push_back(print);
    return result;
  }

  // The text printed at y (within a device unit of rounding) on page 1 with that x.
  static bool printedAt(const TInvoiceReportRun &run, const QString &text, int x, int y) {
    for (const TMetaText &found : run.texts(1))
      if (found.text == text && found.anchor.x() == x && std::abs(found.anchor.y() - y) <= 1)
        return true;
    return false;
  }

  Layout::TReportDesc layout;
  TInvoiceDatabase db;
};

TEST_F(PrintedSectionsTest, HistoryLinesPrintTheirDescriptionsAndBalancesInTheirColumns) {
  db.addPlainInvoice(1001, 1);
  db.addChild(11, 1, "Amy", "Lee");
  const int day = dayNumber(2009, 1, 5);
  const std::vector<THistoryRow> rows = {
      {.Kind = kHistBalanceForward, .Stamp = stampOf(2009, 1, 4), .EntryAmount = cents(12000)},
      {.Kind = kHistCharge,
       .Stamp = stampOf(2009, 1, 5),
       .EntryAmount = cents(8000),
       .WeekEndDate = day + 6,
       .ChildOrMethod = 11,
       .Sessions = 2,
       .ChargedHours = 20,
       .CCBEntry = 1},
      {.Kind = kHistPayment,
       .Stamp = stampOf(2009, 1, 6),
       .EntryAmount = cents(5000),
       .WeekEndDate = day + 1,
       .ChildOrMethod = 4},
      {.Kind = kHistText,
       .Stamp = stampOf(2009, 1, 7),
       .EntryAmount = cents(250),
       .EntryText = "Late fee"},
      {.Kind = kHistDepositPaid,
       .Stamp = stampOf(2009, 1, 8),
       .EntryAmount = cents(3000),
       .WeekEndDate = day + 3,
       .ChildOrMethod = 5},
      {.Kind = kHistDepositRelease,
       .Stamp = stampOf(2009, 1, 9),
       .EntryAmount = cents(3000),
       .WeekEndDate = day + 4},
  };
  for (const THistoryRow &row : rows)
    db.addHistory(1001, row);
  TInvoiceReportRun run;
  run.load();
  run.run();
  const struct {
    QString description, balance;
  } expected[] = {
      {"Previous Outstanding Debt  4/01/2009", "$120.00"},
      {"Amy Lee w/e 11/01/2009", "$200.00"},
      {"Payment by EFTP on 6/01/2009", "$150.00"},
      {"Late fee", "$152.50"},
      {"Deposit paid by BPAY on 8/01/2009", "$152.50"},
      {"Release of deposit paid 9/01/2009", "$122.50"},
  };
  const std::vector<TBandPrint> lines = prints(run, "subdtlAcctHist");
  ASSERT_EQ(lines.size(), std::size(expected));
  const int descriptionTop = topOf("subdtlAcctHist", "lblDescription");
  const double historyTop = layout.page.topMargin +
                            findBand(layout, "grphdrInvoice")->height.native() +
                            findBand(layout, "DetailBand1")->height.native() +
                            findBand(layout, "hdrAcctHist")->height.native();
  const double lineLength = findBand(layout, "subdtlAcctHist")->height.native();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int y = lines[i].rect.top() + descriptionTop;
    SCOPED_TRACE(expected[i].description.toStdString());
    EXPECT_TRUE(
        printedAt(run, expected[i].description, anchorX("subdtlAcctHist", "lblDescription"), y));
    EXPECT_TRUE(printedAt(run, expected[i].balance, anchorX("subdtlAcctHist", "lblBalance"), y));
    // Line after line below the letterhead, address block and history heading.
    EXPECT_EQ(lines[i].rect.top(), dev(historyTop + static_cast<double>(i) * lineLength));
  }
  // Sessions and hours of the charge line in their own columns.
  const int chargeY = lines[1].rect.top() + topOf("subdtlAcctHist", "lblDays");
  EXPECT_TRUE(printedAt(run, "2", anchorX("subdtlAcctHist", "lblDays"), chargeY));
  EXPECT_TRUE(printedAt(run, "20", anchorX("subdtlAcctHist", "lblChgHrs"), chargeY));
  // The footer's closing balance is the invoice's, not the history's.
  const std::vector<TBandPrint> footer = prints(run, "ftrAcctHist");
  ASSERT_EQ(footer.size(), 1u);
  EXPECT_TRUE(printedAt(run, F::formatCurrency(0), anchorX("ftrAcctHist", "lblAmtDue"),
                        footer[0].rect.top() + topOf("ftrAcctHist", "lblAmtDue")));
}

TEST_F(PrintedSectionsTest, EstimatedFeesGridTotalsAndPleasePay) {
  db.addPlainInvoice(1001, 1, cents(10000));
  db.addChild(11, 1, "Amy", "Lee");
  db.addSessionType(1, "AM");
  db.addChargeType(1, "Session fee");
  db.addHistory(1001, {.Kind = kHistBalanceForward, .EntryAmount = cents(10000)});
  const int monday = dayNumber(2009, 1, 5);
  db.addPendingAttendance(1001, 1);
  db.addPendingAttendance(1001, 2);
  db.addCharge(1, 11, 1, monday, 1, cents(2000));
  db.addCharge(2, 11, 1, monday + 2, 1, cents(2550));
  TInvoiceReportRun run;
  run.load();
  run.run();
  const std::vector<TBandPrint> rows = prints(run, "subdtlEstFeeRow");
  ASSERT_EQ(rows.size(), 1u);
  const int rowY = rows[0].rect.top() + topOf("subdtlEstFeeRow", "lblMonFee");
  EXPECT_TRUE(printedAt(run, "Amy Lee", anchorX("subdtlEstFeeRow", "lblFirstName"), rowY));
  EXPECT_TRUE(
      printedAt(run, F::formatMoney(cents(2000)), anchorX("subdtlEstFeeRow", "lblMonFee"), rowY));
  EXPECT_TRUE(
      printedAt(run, F::formatMoney(cents(2550)), anchorX("subdtlEstFeeRow", "lblWedFee"), rowY));
  EXPECT_TRUE(
      printedAt(run, F::formatMoney(cents(4550)), anchorX("subdtlEstFeeRow", "lblRowTotal"), rowY));
  const std::vector<TBandPrint> weekTotals = prints(run, "ftrWeekEstFees");
  ASSERT_EQ(weekTotals.size(), 1u);
  const int totalY = weekTotals[0].rect.top() + topOf("ftrWeekEstFees", "lblWklyChgTotal");
  EXPECT_TRUE(printedAt(run, F::formatCurrency(cents(4550)),
                        anchorX("ftrWeekEstFees", "lblWklyChgTotal"), totalY));
  EXPECT_TRUE(printedAt(run, F::formatMoney(cents(2550)), anchorX("ftrWeekEstFees", "lblWedTotal"),
                        totalY));
  EXPECT_EQ(run.pagesWithText(QStringLiteral("Week Ending 11-Jan-09")), std::vector<int>{1});
  EXPECT_EQ(run.pagesWithText(QStringLiteral("Please pay $145.50")), std::vector<int>{1});
  EXPECT_TRUE(run.pagesWithText(QStringLiteral("$0.00")).empty()) << "no empty day prints";
}

TEST_F(PrintedSectionsTest, SlipBoxesShowThePaymentCases) {
  struct TCase {
    TCurrency closeBal, fees;
    bool directDebit;
    QString pastLabel, past, payLabel, pay, instructions;
  } cases[] = {
      {cents(12000), cents(3000), false, "Past Due", "$120.00", "Please Pay", "$150.00", ""},
      {cents(-4000), cents(2500), false, "Past Credit", "-$40.00", "Net Credit", "-$15.00",
       "A/c in credit. No payment necessary."},
      {cents(-2500), cents(2500), false, "Past Credit", "-$25.00", "Please Pay", "$0.00", ""},
      {cents(5000), 0, true, "Past Due", "$50.00", "Please Pay", "$50.00",
       "Amount will be debitted on 20-Jan-09"},
  };
  for (const TCase &c : cases) {
    TInvoiceDatabase local;
    local.setService();
    const int close = dayNumber(2009, 1, 4);
    local.addParent({.UseDirectDebit = c.directDebit});
    local.addInvoice({.CloseBal = c.closeBal, .CloseDate = close});
    local.addDebitDate(close, dayNumber(2009, 1, 20));
    if (c.fees != 0) {
      local.addChild(11, 1, "Amy", "Lee");
      local.addPendingAttendance(1001, 1);
      local.addCharge(1, 11, 1, dayNumber(2009, 1, 6), 1, c.fees);
    }
    TInvoiceReportRun run;
    run.load();
    run.run();
    SCOPED_TRACE(c.past.toStdString());
    const std::vector<TBandPrint> slip = prints(run, "InvoiceFooter");
    ASSERT_EQ(slip.size(), 1u);
    const int top = slip[0].rect.top();
    auto at = [&](const QString &text, const char *label) {
      return printedAt(run, text, anchorX("InvoiceFooter", label),
                       top + topOf("InvoiceFooter", label));
    };
    EXPECT_TRUE(at(c.pastLabel, "lblPastDueLabel"));
    EXPECT_TRUE(at(c.past, "lblPastDue"));
    EXPECT_TRUE(at(F::formatCurrency(c.fees), "lblEstFees"));
    EXPECT_TRUE(at(c.payLabel, "lblPleasePayLabel"));
    EXPECT_TRUE(at(c.pay, "lblPayAmt"));
    EXPECT_TRUE(at(QStringLiteral("4/01/2009"), "lblCloseDate"));
    if (c.instructions.isEmpty())
      EXPECT_TRUE(
          run.pagesWithText(QStringLiteral("A/c in credit. No payment necessary.")).empty());
    else
      EXPECT_TRUE(at(c.instructions, "lblPaymtInstructions"));
  }
}

} // namespace
} // namespace TDInvoice::Testing
