// The invoice's number and date texts, in the process locale (English (Australia) under the
// pinned C locale) and in a locale with other separators.
#include "invoice/InvoiceFormats.h"
#include "invoice/layout/InvoiceStrings.h"

#include <gtest/gtest.h>

#include <QDate>

#include <limits>

namespace TDInvoice::Testing {
namespace {

namespace F = InvoiceFormats;

const QLocale kAustralia(QLocale::English, QLocale::Australia);
const QLocale kGermany(QLocale::German, QLocale::Germany);

struct TAmountCase {
  TCurrency amount;
  const char *australia;
  const char *germany;
};

TEST(InvoiceFormatsTest, ProcessLocaleIsEnglishAustraliaUnderTheCLocale) {
  EXPECT_EQ(F::invoiceLocale().language(), QLocale::English);
  EXPECT_EQ(F::invoiceLocale().territory(), QLocale::Australia);
}

TEST(InvoiceFormatsTest, MoneyPictureGroupsThousandsAndRoundsHalfAwayFromZero) {
  const TAmountCase cases[] = {
      {0, "$0.00", "$0,00"},
      {500000, "$50.00", "$50,00"},
      {-500000, "-$50.00", "-$50,00"},
      {123456789, "$12,345.68", "$12.345,68"},
      {12345678900, "$1,234,567.89", "$1.234.567,89"},
      {12350, "$1.24", "$1,24"},    // 1.2350 rounds up
      {-12350, "-$1.24", "-$1,24"}, // and away from zero when negative
      {12349, "$1.23", "$1,23"},
      {-40, "$0.00", "$0,00"}, // a debit under half a cent is no debit
      {-50, "-$0.01", "-$0,01"},
  };
  for (const TAmountCase &c : cases) {
    EXPECT_EQ(F::formatMoney(c.amount, kAustralia), QString::fromLatin1(c.australia)) << c.amount;
    EXPECT_EQ(F::formatMoney(c.amount, kGermany), QString::fromLatin1(c.germany)) << c.amount;
  }
}

TEST(InvoiceFormatsTest, MoneyPictureCopesWithTheExtremeAmounts) {
  const TCurrency extremes[] = {std::numeric_limits<TCurrency>::min(),
                                std::numeric_limits<TCurrency>::max()};
  for (TCurrency amount : extremes) {
    const QString text = F::formatMoney(amount, kAustralia);
    EXPECT_TRUE(text.startsWith(amount < 0 ? QStringLiteral("-$922,337,203,685,477.")
                                           : QStringLiteral("$922,337,203,685,477.")))
        << text.toStdString();
  }
}

TEST(InvoiceFormatsTest, PicturesWithOneSectionOrOptionalDecimals) {
  struct TCase {
    const char *picture;
    TCurrency amount;
    const char *expected;
  } cases[] = {
      {"0.00", -15000, "-1.50"},  // one section: the minus sign goes in front
      {"#,##0.0#", 15000, "1.5"}, // optional places drop their zeros
      {"#,##0.0#", 12345, "1.23"}, {"0", 26000, "3"}, {"#.00", 5000, ".50"},
  };
  for (const TCase &c : cases)
    EXPECT_EQ(F::formatAmount(c.amount, c.picture, kAustralia), QString::fromLatin1(c.expected))
        << c.picture << " " << c.amount;
}

TEST(InvoiceFormatsTest, CurrencyFollowsTheLocaleWithAMinusSignForNegatives) {
  struct TCase {
    TCurrency amount;
    const char *expected;
  } cases[] = {
      {1500000, "$150.00"}, {-400000, "-$40.00"},           {-150000, "-$15.00"}, {0, "$0.00"},
      {-40, "$0.00"},       {12345678900, "$1,234,567.89"}, {12345, "$1.23"},     {12350, "$1.24"},
  };
  for (const TCase &c : cases)
    EXPECT_EQ(F::formatCurrency(c.amount, kAustralia), QString::fromLatin1(c.expected)) << c.amount;
  // Germany puts the symbol after the number; only the separators and the symbol's place
  // matter here, so the expected text is built from the locale's own symbol.
  const QString euro = kGermany.currencySymbol();
  EXPECT_TRUE(F::formatCurrency(-400000, kGermany).startsWith(QStringLiteral("-40,00")));
  EXPECT_TRUE(F::formatCurrency(-400000, kGermany).endsWith(euro));
  EXPECT_TRUE(F::formatCurrency(12345678900, kGermany).startsWith(QStringLiteral("1.234.567,89")));
}

TEST(InvoiceFormatsTest, HoursShowAtMostFiveSignificantDigits) {
  struct TCase {
    double hours;
    const char *expected;
  } cases[] = {
      {40.25, "40.25"},       {40, "40"},     {7.5, "7.5"},       {0, "0"},
      {7.3333335f, "7.3333"}, {0.5, "0.5"},   {99999.4, "99999"}, {123456, "1.2346E+5"},
      {0.000123, "0.000123"}, {-2.5, "-2.5"},
  };
  for (const TCase &c : cases)
    EXPECT_EQ(F::formatHours(c.hours, kAustralia), QString::fromLatin1(c.expected)) << c.hours;
  EXPECT_EQ(F::formatHours(7.5, kGermany), QStringLiteral("7,5"));
}

TEST(InvoiceFormatsTest, FactorsRoundToFiveDigitsThenShowTwoDecimals) {
  struct TCase {
    double value;
    const char *expected;
  } cases[] = {
      {104.51f, "104.51"},
      {100, "100.00"},
      {12.345678, "12.35"},
      {0, "0.00"},
      // Rounded to five digits first (1.0050), then to two decimals.
      {1.004999, "1.01"},
      {1234.567, "1234.60"},
      {-3.14159, "-3.14"},
      {-0.001, "0.00"},
  };
  for (const TCase &c : cases)
    EXPECT_EQ(F::formatFactor(c.value, kAustralia), QString::fromLatin1(c.expected)) << c.value;
  EXPECT_EQ(F::formatFactor(104.51f, kGermany), QStringLiteral("104,51"));
}

TEST(InvoiceFormatsTest, DatePicturesUseTheLocalesMonthNamesAndSeparator) {
  using namespace InvoiceStrings;
  struct TCase {
    QDate date;
    const char *picture;
    const char *australia;
    const char *germany; // empty: the locale's month name is checked instead
  } cases[] = {
      {QDate(2009, 1, 5), FMT_DateShortMonth, "5-Jan-09", ""},
      {QDate(2009, 9, 30), FMT_DateShortMonth, "30-Sep-09", ""},
      {QDate(2009, 6, 1), FMT_DateShortMonth, "1-Jun-09", ""},
      {QDate(2008, 12, 25), FMT_DateShortYear, "25/12/08", "25.12.08"},
      {QDate(2008, 12, 25), FMT_DateLongYear, "25/12/2008", "25.12.2008"},
      {QDate(2010, 3, 7), "dd/mm/yyyy", "07/03/2010", "07.03.2010"},
  };
  for (const TCase &c : cases) {
    const QString au =
        F::formatDate(c.date.year(), c.date.month(), c.date.day(), c.picture, kAustralia);
    EXPECT_EQ(au, QString::fromLatin1(c.australia)) << c.picture;
    const QString de =
        F::formatDate(c.date.year(), c.date.month(), c.date.day(), c.picture, kGermany);
    // German short month names are the locale's; the numeric pictures are fixed.
    if (QString::fromLatin1(c.picture).contains(QStringLiteral("mmm")))
      EXPECT_EQ(de, QStringLiteral("%1-%2-%3")
                        .arg(c.date.day())
                        .arg(kGermany.standaloneMonthName(c.date.month(), QLocale::ShortFormat))
                        .arg(c.date.year() % 100, 2, 10, QLatin1Char('0')));
    else
      EXPECT_EQ(de, QString::fromLatin1(c.germany)) << c.picture;
  }
}

TEST(InvoiceFormatsTest, DateTimesCountDaysFromThe30thOfDecember1899) {
  const double days = QDate(1899, 12, 30).daysTo(QDate(2009, 1, 5));
  EXPECT_EQ(F::formatDateTime(days, "d-mmm-yy", kAustralia), QStringLiteral("5-Jan-09"));
  // The time of day does not move the date.
  EXPECT_EQ(F::formatDateTime(days + 0.99, "d-mmm-yy", kAustralia), QStringLiteral("5-Jan-09"));
  EXPECT_EQ(F::formatDateTime(0, "d/mm/yyyy", kAustralia), QStringLiteral("30/12/1899"));
}

TEST(InvoiceFormatsTest, FillInPutsArgumentsInOrder) {
  EXPECT_EQ(F::fillIn(InvoiceStrings::FMT_YTDAbsence, {QStringLiteral("Sam"), QStringLiteral("3")}),
            QStringLiteral("Sam - 3"));
  EXPECT_EQ(F::fillIn("%s w/e %s", {QStringLiteral("Amy")}), QStringLiteral("Amy w/e "));
  EXPECT_EQ(F::fillIn("100%% of %s", {QStringLiteral("fees")}), QStringLiteral("100% of fees"));
  EXPECT_EQ(F::fillIn("{%s}", {QByteArray("\\b x")}), QByteArray("{\\b x}"));
}

} // namespace
} // namespace TDInvoice::Testing
