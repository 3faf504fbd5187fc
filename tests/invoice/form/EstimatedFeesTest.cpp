// The estimated fees: the grid built from pending attendances (rows merged per week, child,
// session type and charge type; weekends in the Friday column), the names on the first row
// of a child in a week, day and week totals, and the amount to pay with them.
#include "ProbeForm.h"

#include "invoice/InvoiceFormats.h"
#include "invoice/layout/InvoiceStrings.h"

#include <array>

namespace TDInvoice::Testing {
namespace {

using namespace InvoiceStrings;
namespace F = InvoiceFormats;

using TDayTexts = std::array<std::optional<QString>, 5>; // none: the column is hidden

struct TFeeRow {
  std::optional<QString> name; // none: hidden
  QString abbrev, description;
  TDayTexts days;
  QString total;
};

struct TWeek {
  QString heading;
  std::vector<TFeeRow> rows;
  TDayTexts dayTotals;
  QString total;
};

struct TGrid {
  std::vector<TWeek> weeks;
  QString estimatedTotal;
  std::optional<QString> pleasePay; // none: hidden
};

constexpr const char *kFees[] = {"lblMonFee", "lblTueFee", "lblWedFee", "lblThuFee", "lblFriFee"};
constexpr const char *kTotals[] = {"lblMonTotal", "lblTueTotal", "lblWedTotal", "lblThuTotal",
                                   "lblFriTotal"};

// Monday 5 January 2009 and the days after it.
int day(int offset) { return dayNumber(2009, 1, 5) + offset; }

TDayTexts dayTexts(TProbeForm &form, const char *const (&labels)[5]) {
  TDayTexts texts;
  for (int column = 0; column < 5; ++column)
    if (form.enabled(labels[column]))
      texts[column] = form.caption(labels[column]);
  return texts;
}

// Prints the section as the engine's loops drive its bands.
TGrid printGrid(TProbeForm &form) {
  TGrid grid;
  bool printBand = true;
  for (;;) {
    bool moreWeeks = false;
    form.subdetWeeklyNeedData(nullptr, moreWeeks);
    if (!moreWeeks)
      break;
    form.subdetWeeklyBeforePrint(nullptr, printBand);
    TWeek week;
    week.heading = form.caption("lblWeekComm");
    for (;;) {
      bool moreRows = false;
      form.subdtlEstFeeRowNeedData(nullptr, moreRows);
      if (!moreRows)
        break;
      form.subdtlEstFeeRowBeforePrint(nullptr, printBand);
      TFeeRow row;
      if (form.enabled("lblFirstName"))
        row.name = form.caption("lblFirstName");
      row.abbrev = form.caption("lblAbbrev");
      row.description = form.caption("lblChgDesc");
      row.days = dayTexts(form, kFees);
      row.total = form.caption("lblRowTotal");
      week.rows.push_back(row);
    }
    form.ftrWeekEstFeesBeforePrint(nullptr, printBand);
    week.dayTotals = dayTexts(form, kTotals);
    week.total = form.caption("lblWklyChgTotal");
    grid.weeks.push_back(week);
  }
  if (grid.weeks.empty())
    return grid;
  form.ftrEstFeesBeforePrint(nullptr, printBand);
  grid.estimatedTotal = form.caption("lblEstFeesTotal");
  if (form.enabled("lblPleasePay"))
    grid.pleasePay = form.caption("lblPleasePay");
  return grid;
}

class EstimatedFeesTest : public ::testing::Test {
protected:
  EstimatedFeesTest() {
    db.setService();
    db.addParent();
    db.addChild(11, 1, "Amy", "Lee");
    db.addChild(12, 1, "Max", "Lee");
    db.addSessionType(1, "AM");
    db.addSessionType(2, "PM");
    db.addChargeType(1, "Session fee");
    db.addChargeType(2, "Excursion levy for the museum"); // cut to 20 characters
    db.addInvoice();
  }

  // One pending attendance per charge, unless attendance is given.
  void charge(int child, int sessionType, int chargeType, int sessionDay, TCurrency amount,
              int attendance = 0) {
    const int number = attendance ? attendance : ++m_attendance;
    if (!attendance)
      db.addPendingAttendance(1001, number);
    db.addCharge(number, child, sessionType, sessionDay, chargeType, amount);
  }

  TGrid grid() {
    auto form = makeProbeForm();
    form->startFirstInvoice();
    return printGrid(*form);
  }

  QString weekEnding(int sundayOffset) {
    return QStringLiteral("Week Ending ") +
           F::formatDateTime(day(sundayOffset), FMT_DateShortMonth);
  }

  TInvoiceDatabase db;
  int m_attendance = 100;
};

QString money(TCurrency amount) { return F::formatMoney(amount); }

TEST_F(EstimatedFeesTest, ChargesOfOneRowMergeIntoItsDayColumns) {
  charge(11, 1, 1, day(0), cents(4550)); // Monday
  charge(11, 1, 1, day(2), cents(4550)); // Wednesday
  charge(11, 1, 1, day(2), cents(1000)); // Wednesday again: summed
  const TGrid g = grid();
  ASSERT_EQ(g.weeks.size(), 1u);
  ASSERT_EQ(g.weeks[0].rows.size(), 1u);
  const TFeeRow &row = g.weeks[0].rows[0];
  EXPECT_EQ(row.name, QStringLiteral("Amy Lee"));
  EXPECT_EQ(row.abbrev, QStringLiteral("AM"));
  EXPECT_EQ(row.description, QStringLiteral("Session fee"));
  const TDayTexts expected{money(cents(4550)), std::nullopt, money(cents(5550)), std::nullopt,
                           std::nullopt};
  EXPECT_EQ(row.days, expected);
  EXPECT_EQ(row.total, money(cents(10100)));
  EXPECT_EQ(g.weeks[0].heading, weekEnding(6));
}

TEST_F(EstimatedFeesTest, WeekendChargesGoToTheFridayOfTheWeekTheSundayEnds) {
  struct TCase {
    int sessionDay; // offset from Monday 5 January 2009
    int weekEnding; // offset of the Sunday
    int column;
  } cases[] = {
      {0, 6, 0},   {1, 6, 1}, {3, 6, 3},
      {4, 6, 4},   {5, 6, 4}, // Saturday: the week ending the next day
      {6, 6, 4},              // Sunday: the week ending that day
      {7, 13, 0},             // the next Monday starts the next week
      {-1, -1, 4},            // the Sunday before
  };
  for (const TCase &c : cases) {
    db.host().execute(QStringLiteral("DELETE FROM Charges"));
    db.host().execute(QStringLiteral("DELETE FROM BookingCharges"));
    db.host().execute(QStringLiteral("DELETE FROM UnresolvedAttendances"));
    charge(11, 1, 1, day(c.sessionDay), cents(1200));
    const TGrid g = grid();
    ASSERT_EQ(g.weeks.size(), 1u) << c.sessionDay;
    EXPECT_EQ(g.weeks[0].heading, weekEnding(c.weekEnding)) << c.sessionDay;
    TDayTexts expected;
    expected[c.column] = money(cents(1200));
    EXPECT_EQ(g.weeks[0].rows.at(0).days, expected) << c.sessionDay;
  }
}

TEST_F(EstimatedFeesTest, AChildsNameShowsOnItsFirstRowOfEachWeek) {
  charge(11, 1, 1, day(0), cents(100));
  charge(11, 2, 1, day(1), cents(200));
  charge(11, 2, 2, day(1), cents(300));
  charge(12, 1, 1, day(0), cents(400));
  charge(11, 1, 1, day(7), cents(500));
  const TGrid g = grid();
  ASSERT_EQ(g.weeks.size(), 2u);
  std::vector<std::optional<QString>> names;
  std::vector<QString> descriptions;
  for (const TFeeRow &row : g.weeks[0].rows) {
    names.push_back(row.name);
    descriptions.push_back(row.abbrev + QLatin1Char('/') + row.description);
  }
  EXPECT_EQ(names, (std::vector<std::optional<QString>>{"Amy Lee", std::nullopt, std::nullopt,
                                                        "Max Lee"}));
  // Charge descriptions keep their first 20 characters.
  const QString levy =
      QStringLiteral("PM/") + QStringLiteral("Excursion levy for the museum").left(20);
  EXPECT_EQ(descriptions,
            (std::vector<QString>{"AM/Session fee", "PM/Session fee", levy, "AM/Session fee"}));
  ASSERT_EQ(g.weeks[1].rows.size(), 1u);
  EXPECT_EQ(g.weeks[1].rows[0].name, QStringLiteral("Amy Lee"));
}

TEST_F(EstimatedFeesTest, DayAndWeekTotalsAddTheRows) {
  charge(11, 1, 1, day(0), cents(4550));
  charge(11, 1, 1, day(4), cents(4550));
  charge(12, 1, 1, day(0), cents(3025));
  charge(12, 2, 1, day(2), cents(1999));
  charge(12, 1, 1, day(9), cents(1000));
  const TGrid g = grid();
  ASSERT_EQ(g.weeks.size(), 2u);
  const TDayTexts firstWeek{money(cents(7575)), std::nullopt, money(cents(1999)), std::nullopt,
                            money(cents(4550))};
  EXPECT_EQ(g.weeks[0].dayTotals, firstWeek);
  EXPECT_EQ(g.weeks[0].total, F::formatCurrency(cents(4550 + 4550 + 3025 + 1999)));
  EXPECT_EQ(g.weeks[1].total, F::formatCurrency(cents(1000)));
  EXPECT_EQ(g.estimatedTotal, F::formatCurrency(cents(4550 + 4550 + 3025 + 1999 + 1000)));
}

TEST_F(EstimatedFeesTest, PleasePayAddsTheFeesToTheLastRunningBalance) {
  struct TCase {
    std::optional<TCurrency> balance; // none: no history
    TCurrency fees;
    std::optional<QString> expected;
  } cases[] = {
      {cents(10000), cents(4550), "Please pay $145.50"},
      {cents(-4550), cents(4550), std::nullopt},
      {cents(-8000), cents(4550), "No payment necessary"},
      {std::nullopt, cents(4550), "Please pay $45.50"}, // no history: the fees alone
  };
  for (const TCase &c : cases) {
    db.host().execute(QStringLiteral("DELETE FROM HostHistory"));
    db.host().execute(QStringLiteral("DELETE FROM Charges"));
    if (c.balance)
      db.addHistory(1001, {.Kind = kHistBalanceForward, .EntryAmount = *c.balance});
    charge(11, 1, 1, day(1), c.fees);
    const TGrid g = grid();
    EXPECT_EQ(g.pleasePay, c.expected);
  }
}

TEST_F(EstimatedFeesTest, EachPendingAttendanceIsQueriedOnce) {
  db.addPendingAttendance(1001, 7);
  db.addPendingAttendance(1001, 5);
  db.addPendingAttendance(1001, 7);
  charge(11, 1, 1, day(0), cents(100), 5);
  charge(11, 1, 1, day(1), cents(200), 7);
  const TGrid g = grid();
  const QStringList charges = db.host().sqlLog().filter(QStringLiteral("BookingCharges"));
  ASSERT_EQ(charges.size(), 1);
  EXPECT_EQ(charges[0], F::fillIn(SQL_AttendanceCharges, {QStringLiteral("5, 7")}));
  ASSERT_EQ(g.weeks.size(), 1u);
  EXPECT_EQ(g.weeks[0].rows.at(0).total, money(cents(300)));
}

TEST_F(EstimatedFeesTest, NothingPendingOrNoChargesGivesNoWeeks) {
  auto form = makeProbeForm();
  form->startFirstInvoice();
  EXPECT_EQ(form->FWeekCount, 0);
  EXPECT_TRUE(db.host().sqlLog().filter(QStringLiteral("BookingCharges")).isEmpty());
  db.addPendingAttendance(1001, 9); // pending, but without charges
  EXPECT_TRUE(grid().weeks.empty());
  EXPECT_EQ(db.host().sqlLog().filter(QStringLiteral("BookingCharges")).size(), 1);
}

TEST_F(EstimatedFeesTest, MissingLookupsPrintEmptyTexts) {
  charge(99, 8, 9, day(0), cents(700));
  const TGrid g = grid();
  ASSERT_EQ(g.weeks.size(), 1u);
  const TFeeRow &row = g.weeks[0].rows.at(0);
  EXPECT_EQ(row.name, QString());
  EXPECT_EQ(row.abbrev, QString());
  EXPECT_EQ(row.description, QString());
  EXPECT_EQ(row.total, money(cents(700)));
}

TEST_F(EstimatedFeesTest, SectionBandsPrintInTheirLoopOrder) {
  charge(11, 1, 1, day(0), cents(100));
  charge(12, 1, 1, day(0), cents(100));
  charge(11, 1, 1, day(7), cents(100));
  TInvoiceReportRun run;
  run.load();
  run.run();
  QStringList section;
  for (const TBandPrint &print : run.bandPrints())
    if (print.band.contains(QStringLiteral("EstFee")) || print.band == "subdetWeekly")
      section << print.band;
  EXPECT_EQ(section, (QStringList{"hdrEstFees", "subdetWeekly", "subdtlEstFeeRow",
                                  "subdtlEstFeeRow", "ftrWeekEstFees", "subdetWeekly",
                                  "subdtlEstFeeRow", "ftrWeekEstFees", "ftrEstFees"}));
  EXPECT_EQ(run.pagesWithText(QStringLiteral("Please pay $3.00")), std::vector<int>{1});
  // The slip's estimated fees box carries the same total.
  EXPECT_EQ(run.pagesWithText(F::formatCurrency(cents(300))), std::vector<int>{1});
}

} // namespace
} // namespace TDInvoice::Testing
