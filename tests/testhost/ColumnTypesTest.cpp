#include "host/testhost/ColumnTypes.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace TDInvoice;
using namespace TDInvoice::Host;

namespace {

TEST(ColumnTypes, DeclaredTypesMapToFieldTypes) {
  const std::pair<const char *, Ado::DataTypeEnum> cases[] = {
      {"CURRENCY", Ado::adCurrency},
      {"money", Ado::adCurrency},
      {"DATETIME", Ado::adDate},
      {"Date", Ado::adDate},
      {"TIMESTAMP", Ado::adDate},
      {"BOOLEAN", Ado::adBoolean},
      {"BIT", Ado::adBoolean},
      {"YESNO", Ado::adBoolean},
      {"INTEGER", Ado::adInteger},
      {"int", Ado::adInteger},
      {"SMALLINT", Ado::adSmallInt},
      {"BIGINT", Ado::adBigInt},
      {"TINYINT", Ado::adUnsignedTinyInt},
      {"REAL", Ado::adDouble},
      {"DOUBLE", Ado::adDouble},
      {"FLOAT", Ado::adDouble},
      {"SINGLE", Ado::adSingle},
      {"TEXT", Ado::adVarWChar},
      {"VARCHAR(40)", Ado::adVarWChar},
      {"NVARCHAR(10)", Ado::adVarWChar},
      {"MEMO", Ado::adLongVarWChar},
      {"BLOB", Ado::adVarBinary},
  };
  for (const auto &[declared, type] : cases)
    EXPECT_EQ(adoTypeForDeclaration(QString::fromLatin1(declared)), type) << declared;
  EXPECT_FALSE(adoTypeForDeclaration(QString()).has_value());
  EXPECT_EQ(declaredLength("VARCHAR( 40 )"), 40);
  EXPECT_EQ(declaredLength("TEXT"), 0);
}

TEST(ColumnTypes, CurrencyIsExactToTheTenThousandth) {
  const std::pair<const char *, std::int64_t> cases[] = {
      {"0", 0},
      {"12.34", 123400},
      {"-12.3456", -123456},
      {"0.00005", 1}, // half away from zero
      {"-0.00005", -1},
      {"0.000049999", 0},
      {"1.23455", 12346},
      {"922337203685477.5807", 9223372036854775807},
      {"+.5", 5000},
      {"7.", 70000},
  };
  for (const auto &[text, units] : cases)
    EXPECT_EQ(currencyFromText(QString::fromLatin1(text)), units) << text;
  for (const char *bad : {"", "abc", "1.2.3", "1e5", "922337203685477.5808", "-", "."})
    EXPECT_FALSE(currencyFromText(QString::fromLatin1(bad)).has_value()) << bad;
  // Doubles go through their shortest text, so 1.15 stays 11500 and not 11499.
  EXPECT_EQ(currencyFromDouble(1.15), 11500);
  EXPECT_EQ(currencyFromDouble(-2.675), -26750);
  EXPECT_EQ(currencyFromDouble(1234.56785), 12345679);
  EXPECT_FALSE(currencyFromDouble(std::nan("")).has_value());
}

TEST(ColumnTypes, IsoTextBecomesOleDates) {
  // 36526 is 1 January 2000 (days since 30 December 1899).
  const std::pair<const char *, double> cases[] = {
      {"1899-12-30", 0.0},
      {"1900-01-01", 2.0},
      {"2000-01-01", 36526.0},
      {"2009-01-05", 36526.0 + 3288 + 4},
      {"2000-01-01 12:00", 36526.5},
      {"2000-01-01T06:00:00", 36526.25},
      {"2000-01-01 00:00:01.5", 36526.0 + 1.5 / 86400},
      {"1899-12-29 06:00", -1.25},
  };
  for (const auto &[text, date] : cases) {
    const std::optional<double> got = oleDateFromIsoText(QString::fromLatin1(text));
    ASSERT_TRUE(got.has_value()) << text;
    EXPECT_DOUBLE_EQ(*got, date) << text;
  }
  for (const char *bad : {"2009-02-30", "2009-1-5", "05/01/2009", "2009-01-05 24:00", "today"})
    EXPECT_FALSE(oleDateFromIsoText(QString::fromLatin1(bad)).has_value()) << bad;
}

} // namespace
