// The account history: running balances, the order of the entries, every line kind with its
// description, widths and columns, the heading of a registered-care-only service, the
// enrolment-ID table and the closing balance, and a description that wraps.
#include "ProbeForm.h"

#include "invoice/InvoiceFormats.h"
#include "invoice/layout/InvoiceStrings.h"
#include "report/engine/ReportLayout.h"

#include <array>
#include <limits>

namespace TDInvoice::Testing {
namespace {

using namespace InvoiceStrings;
namespace F = InvoiceFormats;

// What one printed history line shows.
struct TLine {
  QString description;
  int width = 0; // pixels
  bool daysShown = false;
  QString days, absences, hours, total, ccbHours, percentage, ccb, jfa, ccr, net, balance;
};

constexpr const char *kDescribedColumns[] = {"lblChgHrs", "lblTotal", "lblCCBHrs", "lblPercentage",
                                             "lblCCB",    "lblJFA",   "lblCCR"};

class AccountHistoryTest : public ::testing::Test {
protected:
  AccountHistoryTest() { freshDatabase(); }

  // The fixture's account: one invoice of a family with two children.
  void freshDatabase(TCurrency closeBal = cents(4000)) {
    m_db.reset();
    m_db = std::make_unique<TInvoiceDatabase>();
    db().setService();
    db().addParent();
    db().addChild(11, 1, "Amy", "Lee");
    db().addChild(12, 1, "Max", "Lee");
    db().addInvoice({.CloseBal = closeBal, .CloseDate = dayNumber(2009, 1, 11)});
  }
  TInvoiceDatabase &db() { return *m_db; }

  // A service with a care type other than registered care.
  void useApprovedCare() { db().addFunding(1, 4, "LDC-1"); }

  std::vector<TLine> printLines(TProbeForm &form) {
    std::vector<TLine> lines;
    while (form.nextHistoryLine()) {
      TLine line;
      line.description = form.caption("lblDescription");
      line.width = form.printable("lblDescription").Width();
      line.daysShown = form.enabled("lblDays") && form.enabled("lblAbsPaid");
      line.days = form.caption("lblDays");
      line.absences = form.caption("lblAbsPaid");
      line.hours = form.caption("lblChgHrs");
      line.total = form.caption("lblTotal");
      line.ccbHours = form.caption("lblCCBHrs");
      line.percentage = form.caption("lblPercentage");
      line.ccb = form.caption("lblCCB");
      line.jfa = form.caption("lblJFA");
      line.ccr = form.caption("lblCCR");
      line.net = form.caption("lblNet");
      line.balance = form.caption("lblBalance");
      lines.push_back(line);
    }
    return lines;
  }

  std::vector<TLine> linesOf(const std::vector<THistoryRow> &rows) {
    for (const THistoryRow &row : rows)
      db().addHistory(1001, row);
    auto form = makeProbeForm();
    form->startFirstInvoice();
    EXPECT_EQ(form->FHistCount, static_cast<int>(rows.size()));
    return printLines(*form);
  }

private:
  std::unique_ptr<TInvoiceDatabase> m_db;
};

THistoryRow money(int kind, int day, TCurrency amount, int method = 0) {
  return {.Kind = kind,
          .Stamp = stampOf(2009, 1, day),
          .EntryAmount = amount,
          .WeekEndDate = dayNumber(2009, 1, day),
          .ChildOrMethod = method};
}

TEST_F(AccountHistoryTest, RunningBalancesOfEveryKindOfMoneyLine) {
  const std::vector<TLine> lines = linesOf({
      {.Kind = kHistBalanceForward, .Stamp = stampOf(2008, 12, 28), .EntryAmount = cents(12000)},
      money(kHistPayment, 2, cents(5000), 2),
      money(kHistDepositPaid, 3, cents(3000), 1),
      money(kHistDepositRelease, 4, cents(3000)),
      {.Kind = kHistText,
       .Stamp = stampOf(2009, 1, 5),
       .EntryAmount = cents(1250),
       .EntryText = "Late pick-up fee"},
      money(kHistPayment, 6, cents(2000), 8),
  });
  struct TExpected {
    QString description;
    int width;
    QString net, balance;
  } expected[] = {
      {"Previous Outstanding Debt  28/12/2008", 242, "", "$120.00"},
      {"Payment by CHEQ on 2/01/2009", 234, "$50.00", "$70.00"},
      {"Deposit paid by CASH on 3/01/2009", 242, "$30.00", "$70.00"},
      {"Release of deposit paid 4/01/2009", 242, "$30.00", "$40.00"},
      {"Late pick-up fee", 242, "$12.50", "$52.50"},
      {"Payment by BANK on 6/01/2009", 234, "$20.00", "$32.50"},
  };
  ASSERT_EQ(lines.size(), std::size(expected));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(expected[i].description.toStdString());
    EXPECT_EQ(lines[i].description, expected[i].description);
    EXPECT_EQ(lines[i].width, expected[i].width);
    EXPECT_FALSE(lines[i].daysShown);
    EXPECT_EQ(lines[i].net, expected[i].net);
    EXPECT_EQ(lines[i].balance, expected[i].balance);
    for (const QString &column :
         {lines[i].days, lines[i].absences, lines[i].hours, lines[i].total, lines[i].ccbHours,
          lines[i].percentage, lines[i].ccb, lines[i].jfa, lines[i].ccr})
      EXPECT_TRUE(column.isEmpty());
  }
}

TEST_F(AccountHistoryTest, CreditBroughtForward) {
  const std::vector<TLine> lines = linesOf({{.Kind = kHistBalanceForward,
                                             .Stamp = stampOf(2009, 1, 4) + 3600,
                                             .EntryAmount = cents(-1500)}});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].description, QStringLiteral("Credit Balance from invoice 4/01/2009"));
  EXPECT_EQ(lines[0].balance, QStringLiteral("-$15.00"));
  EXPECT_TRUE(lines[0].net.isEmpty());
}

TEST_F(AccountHistoryTest, UnknownKindsAndMethodsStillShowTheirAmounts) {
  const std::vector<TLine> lines = linesOf({
      money(kHistPayment, 2, cents(1000), 9), money(kHistDepositPaid, 3, cents(500), 0),
      money(17, 4, cents(250)), // adds, as every kind but 3, 5 and 6
  });
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].description, QStringLiteral("Payment by 9 on 2/01/2009"));
  EXPECT_EQ(lines[1].description, QStringLiteral("Deposit paid by 0 on 3/01/2009"));
  EXPECT_EQ(lines[2].description, QString());
  EXPECT_EQ(lines[2].width, 242);
  EXPECT_EQ(lines[2].net, QStringLiteral("$2.50"));
  EXPECT_EQ(lines[2].balance, QStringLiteral("-$7.50"));
}

TEST_F(AccountHistoryTest, EntriesSortByStampAndChargesOfOneStampByWeekEnding) {
  const std::int32_t stamp = stampOf(2009, 1, 12);
  const std::vector<TLine> lines = linesOf({
      {.Kind = kHistCharge,
       .Stamp = stamp,
       .EntryAmount = cents(300),
       .WeekEndDate = dayNumber(2009, 1, 11),
       .ChildOrMethod = 11},
      {.Kind = kHistCharge,
       .Stamp = stamp,
       .EntryAmount = cents(200),
       .WeekEndDate = dayNumber(2009, 1, 4),
       .ChildOrMethod = 11},
      money(kHistPayment, 1, cents(100), 1),
  });
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(lines[0].description.startsWith(QStringLiteral("Payment by CASH")));
  EXPECT_EQ(lines[1].description, QStringLiteral("Amy Lee w/e 4/01/2009"));
  EXPECT_EQ(lines[2].description, QStringLiteral("Amy Lee w/e 11/01/2009"));
  EXPECT_EQ(lines[2].balance, QStringLiteral("$4.00"));
}

THistoryRow charge(int child, int careType, const char *abbrev, int ccbEntry,
                   const char *enrolmentId = "") {
  return {.Kind = kHistCharge,
          .Stamp = stampOf(2009, 1, 12),
          .EntryAmount = cents(23500),
          .WeekEndDate = dayNumber(2009, 1, 11),
          .ChildOrMethod = child,
          .CareType = careType,
          .Sessions = 5,
          .CCBRate = 104.51,
          .CCBPercent = 100,
          .CCBAltPercent = 85.5,
          .CCBHours = 40,
          .FeeAmount = cents(45000),
          .ChargedHours = 40.25,
          .CCBAmount = cents(20000),
          .JFAAmount = cents(1000),
          .CCRAmount = cents(500),
          .AbsencesPaid = 1,
          .CCBEntry = ccbEntry,
          .CareTypeAbbrev = abbrev,
          .EnrolmentId = enrolmentId};
}

TEST_F(AccountHistoryTest, ChargeLinesOfAnApprovedCareService) {
  useApprovedCare();
  struct TCase {
    THistoryRow row;
    QString description, percentage;
  } cases[] = {
      {charge(11, 4, "LDC", 1), "Amy Lee LDC w/e 11/01/09", "104.51 X 85.50"},
      {charge(12, 1, "ASC", 1), "Max Lee ASC w/e 11/01/09", "104.51 X 100.00"},
      {charge(11, 4, "LDC", 2), "Amy Lee LDC w/e 11/01/09", "Reversal"},
      {charge(11, 4, "LDC", 3), "Amy Lee LDC w/e 11/01/09", "CCB Adjustmt"},
      {charge(11, 4, "LDC", 1, "E-77"), "Amy Lee LDC w/e 11/01/09", "104.51 X 85.50"},
      // A child the family's list lacks prints without a name.
      {charge(99, 3, "VAC", 1), " VAC w/e 11/01/09", "104.51 X 100.00"},
  };
  for (const TCase &c : cases) {
    freshDatabase();
    useApprovedCare();
    const std::vector<TLine> lines = linesOf({c.row});
    ASSERT_EQ(lines.size(), 1u);
    const TLine &line = lines[0];
    SCOPED_TRACE(c.description.toStdString());
    EXPECT_EQ(line.description, c.description);
    EXPECT_EQ(line.width, 196);
    EXPECT_TRUE(line.daysShown);
    EXPECT_EQ(line.days, QStringLiteral("5"));
    EXPECT_EQ(line.absences, QStringLiteral("1"));
    EXPECT_EQ(line.hours, QStringLiteral("40.25"));
    EXPECT_EQ(line.total, QStringLiteral("$450.00"));
    EXPECT_EQ(line.ccbHours, QStringLiteral("40"));
    EXPECT_EQ(line.percentage, c.percentage);
    EXPECT_EQ(line.ccb, QStringLiteral("$200.00"));
    EXPECT_EQ(line.jfa, QStringLiteral("$10.00"));
    EXPECT_EQ(line.ccr, QStringLiteral("$5.00"));
    EXPECT_EQ(line.net, QStringLiteral("$235.00"));
    EXPECT_EQ(line.balance, QStringLiteral("$235.00"));
  }
}

TEST_F(AccountHistoryTest, ChargeLineOfARegisteredCareOnlyService) {
  const std::vector<TLine> lines = linesOf({charge(11, 0, "REG", 1)});
  ASSERT_EQ(lines.size(), 1u);
  const TLine &line = lines[0];
  EXPECT_EQ(line.description, QStringLiteral("Amy Lee w/e 11/01/2009"));
  EXPECT_EQ(line.days, QStringLiteral("5"));
  EXPECT_EQ(line.hours, QStringLiteral("40.25"));
  EXPECT_EQ(line.net, QStringLiteral("$235.00"));
  EXPECT_EQ(line.balance, QStringLiteral("$235.00"));
  for (const QString &column :
       {line.absences, line.ccbHours, line.percentage, line.ccb, line.jfa, line.ccr, line.total})
    EXPECT_TRUE(column.isEmpty());
}

TEST_F(AccountHistoryTest, HeadingOfARegisteredCareOnlyServiceShowsFiveColumns) {
  const char *hidden[] = {"lblAbsPaidLabel", "lblFeeLabel", "lblCCBHrsLabel", "lblPercentageLabel",
                          "lblCCBLabel",     "lblJFALabel", "lblCCRLabel"};
  for (const bool approvedCare : {false, true}) {
    freshDatabase();
    if (approvedCare)
      useApprovedCare();
    auto form = makeProbeForm();
    form->startFirstInvoice();
    bool printBand = true;
    form->hdrAcctHistBeforePrint(nullptr, printBand);
    EXPECT_TRUE(printBand);
    for (const char *name : hidden)
      EXPECT_EQ(form->enabled(name), approvedCare) << name;
    for (const char *name :
         {"lblDescriptionLabel", "lblDaysLabel", "lblHrsLabel", "lblNetLabel", "lblBalanceLabel"})
      EXPECT_TRUE(form->enabled(name)) << name;
    EXPECT_EQ(form->caption("lblNetLabel"),
              approvedCare ? QStringLiteral("Net") : QString::fromLatin1(CAP_NetAsFee));
  }
}

TEST_F(AccountHistoryTest, EnrolmentIDsGiveOneRowPerChildCareTypeAndID) {
  useApprovedCare();
  std::vector<THistoryRow> rows;
  for (int week = 0; week < 3; ++week) {
    THistoryRow row = charge(11, 4, "LDC", 1, "E-20");
    row.WeekEndDate += 7 * week;
    row.Stamp += 86400 * 7 * week;
    rows.push_back(row);
  }
  rows.push_back(charge(11, 4, "LDC", 1, "E-10"));
  rows.push_back(charge(12, 1, "ASC", 1, "A-5"));
  rows.push_back(charge(12, 1, "ASC", 1)); // no ID: no row
  for (const THistoryRow &row : rows)
    db().addHistory(1001, row);
  auto form = makeProbeForm();
  form->startFirstInvoice();
  EXPECT_EQ(printLines(*form).size(), rows.size());
  bool printBand = true;
  form->ftrAcctHistBeforePrint(nullptr, printBand);
  QByteArray lines;
  const std::array<std::array<const char *, 3>, 3> expectedRows{{
      {"Amy Lee", "LDC", "E-10"},
      {"Amy Lee", "LDC", "E-20"},
      {"Max Lee", "ASC", "A-5"},
  }};
  for (const auto &row : expectedRows)
    lines += F::fillIn(RTF_EnrolmentIdLine,
                       {QByteArray(row[0]), QByteArray(row[1]), QByteArray(row[2])}) +
             TXT_LineBreak;
  EXPECT_EQ(form->FAcctHistRows->Count(), 3);
  EXPECT_EQ(form->component<Report::TReportRichText>("RichText1").Lines(),
            F::fillIn(RTF_EnrolmentIdTemplate, {lines}));
}

TEST_F(AccountHistoryTest, FooterShowsTheClosingBalance) {
  struct TCase {
    TCurrency closeBal;
    QString amount, caption;
  } cases[] = {
      {cents(4000), "$40.00", "Outstanding Debt"},
      {0, "$0.00", "Outstanding Debt"},
      {cents(-1234), "-$12.34", "Credit Balance"},
  };
  for (const TCase &c : cases) {
    freshDatabase(c.closeBal);
    auto form = makeProbeForm();
    form->startFirstInvoice();
    bool printBand = true;
    form->ftrAcctHistBeforePrint(nullptr, printBand);
    EXPECT_EQ(form->caption("lblAmtDue"), c.amount);
    EXPECT_EQ(form->caption("lblOutstandingDebt"), c.caption);
    EXPECT_TRUE(form->component<Report::TReportRichText>("RichText1").Lines().isEmpty());
  }
}

TEST_F(AccountHistoryTest, EnrolmentTableEscapesRichTextControlCharacters) {
  useApprovedCare();
  db().addChild(13, 1, "Zoe {Jo}", "Lee\\");
  db().addHistory(1001, charge(13, 4, "LDC", 1, "E-1"));
  auto form = makeProbeForm();
  form->startFirstInvoice();
  printLines(*form);
  bool printBand = true;
  form->ftrAcctHistBeforePrint(nullptr, printBand);
  const QByteArray table = form->component<Report::TReportRichText>("RichText1").Lines();
  EXPECT_TRUE(table.contains("Zoe \\{Jo\\} Lee\\\\\\tab LDC")) << table.toStdString();
}

TEST_F(AccountHistoryTest, BalanceBeyondTheCurrencyRangeIsAnErrorNotAWrappedAmount) {
  const TCurrency huge = std::numeric_limits<TCurrency>::max() / 2 + 1;
  db().addHistory(1001, money(kHistText, 2, huge));
  db().addHistory(1001, money(kHistText, 3, huge));
  auto form = makeProbeForm();
  form->LoadDataSet(TInvoiceReportRun::kInvoicesSql);
  form->prepare();
  bool printBand = true;
  form->grphdrInvoiceBeforePrint(nullptr, printBand);
  EXPECT_THROW(form->DetailBand1BeforePrint(nullptr, printBand), Exception);
}

TEST_F(AccountHistoryTest, NoEntriesMeansNoSection) {
  db().addHistory(1002, money(kHistPayment, 2, cents(100), 1)); // another invoice's
  TInvoiceReportRun run;
  run.load();
  run.run();
  EXPECT_EQ(run.bandsOnPage(1), (QStringList{"grphdrInvoice", "DetailBand1", "InvoiceFooter"}));
}

// A description longer than its width wraps and the line's band grows by one text line for
// each line more; the next entry moves down with it.
TEST_F(AccountHistoryTest, LongDescriptionWrapsAndStretchesItsLine) {
  const QString longText = QStringLiteral(
      "Adjustment for the excursion to the aquarium, the bus hire and the entry fees of the "
      "whole group on the last day of term");
  db().addHistory(1001, {.Kind = kHistText,
                         .Stamp = stampOf(2009, 1, 2),
                         .EntryAmount = cents(100),
                         .EntryText = longText});
  db().addHistory(1001, {.Kind = kHistText,
                         .Stamp = stampOf(2009, 1, 3),
                         .EntryAmount = cents(100),
                         .EntryText = "Short"});
  TInvoiceReportRun run;
  run.load();
  run.run();
  QStringList pieces;
  std::vector<int> tops;
  for (const TMetaText &text : run.texts(1))
    if (longText.contains(text.text.trimmed()) && text.text.size() > 6) {
      pieces << text.text.trimmed();
      tops.push_back(text.anchor.y());
    }
  ASSERT_GE(pieces.size(), 2) << "the description wraps";
  EXPECT_EQ(pieces.join(QLatin1Char(' ')), longText);
  const int lineHeight = tops[1] - tops[0];
  EXPECT_GT(lineHeight, 0);
  const auto shortLine = run.findText(QStringLiteral("Short"), 1);
  ASSERT_TRUE(shortLine);
  const Layout::TReportDesc layout = run.layout();
  const double lineLength = Layout::findBand(layout, "subdtlAcctHist")->height.native();
  // The next line starts one band length plus the extra text lines further down.
  const int expectedShift = dev(lineLength) + (static_cast<int>(pieces.size()) - 1) * lineHeight;
  EXPECT_NEAR(shortLine->anchor.y() - tops[0], expectedShift, 1);
  // The wrapped lines fit the description's 242 pixels.
  std::vector<TBandPrint> lines;
  for (const TBandPrint &print : run.bandPrints())
    if (print.band == QStringLiteral("subdtlAcctHist"))
      lines.push_back(print);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].rect.top() - lines[0].rect.top(), shortLine->anchor.y() - tops[0]);
}

} // namespace
} // namespace TDInvoice::Testing
