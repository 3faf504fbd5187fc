#include "AdoTestSupport.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/Locale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

using namespace AdoTest;
using TDInvoice::EVariantError;

namespace {

Decimal decimal(bool negative, int scale, std::uint64_t mantissa) {
  Decimal d;
  d.negative = negative;
  d.scale = std::uint8_t(scale);
  d.lo64 = mantissa;
  return d;
}

template <typename F> std::string errorOf(F f) {
  try {
    f();
  } catch (const EVariantError &e) {
    return e.what();
  }
  return "no EVariantError";
}

TEST(ProcessLocale, IsEnglishAustraliaUnderTheCLocale) {
  ASSERT_EQ(QLocale::system().language(), QLocale::C) << "tests run with LC_ALL=C";
  const QLocale locale = processLocale();
  EXPECT_EQ(locale.language(), QLocale::English);
  EXPECT_EQ(locale.territory(), QLocale::Australia);
}

struct TextCase {
  const char *label;
  Variant value;
  const char *text;
};

TEST(VariantToString, FormatsEachTypeAsThePlatformDoes) {
  const TextCase cases[] = {
      {"empty", Variant(), ""},
      {"integer", Variant(42), "42"},
      {"negative smallint", Variant::fromInt(-32768, VarType::SmallInt), "-32768"},
      {"int64 minimum", Variant::fromInt(std::numeric_limits<std::int64_t>::min(), VarType::Int64),
       "-9223372036854775808"},
      {"uint64 maximum", Variant::fromUInt64(std::numeric_limits<std::uint64_t>::max()),
       "18446744073709551615"},
      {"double shortest", Variant(0.1), "0.1"},
      {"double 17 digits", Variant(3.1415899999999999), "3.14159"},
      {"double large", Variant(1e20), "1E20"},
      {"double small", Variant(1.5e-7), "1.5E-7"},
      {"double fixed limit", Variant(0.0001), "0.0001"},
      {"double negative", Variant(-0.25), "-0.25"},
      {"single shortest", Variant::fromSingle(5.3249998f), "5.325"},
      {"currency", Variant::fromCurrency(12345600), "1234.56"},
      {"currency negative", Variant::fromCurrency(-78900), "-7.89"},
      {"currency ten-thousandth", Variant::fromCurrency(5), "0.0005"},
      {"currency whole", Variant::fromCurrency(-20000), "-2"},
      {"currency minimum", Variant::fromCurrency(std::numeric_limits<std::int64_t>::min()),
       "-922337203685477.5808"},
      {"date and time", Variant::fromDate(oleDate(2001, 2, 3, 4, 5, 6)), "3/02/2001 4:05:06 AM"},
      {"date at midnight", Variant::fromDate(oleDate(2008, 12, 25)), "25/12/2008"},
      {"afternoon", Variant::fromDate(oleDate(1999, 12, 31, 23, 59, 58)), "31/12/1999 11:59:58 PM"},
      {"before 1899-12-30", Variant::fromDate(-1.5), "29/12/1899 12:00:00 PM"},
      {"boolean true", Variant(true), "True"},
      {"boolean false", Variant(false), "False"},
      {"decimal trailing zeros", Variant::fromDecimal(decimal(false, 4, 15000)), "1.5"},
      {"decimal negative", Variant::fromDecimal(decimal(true, 4, 9223375808ULL)), "-922337.5808"},
      {"decimal zero", Variant::fromDecimal(decimal(true, 4, 0)), "0"},
      {"text", Variant(QStringLiteral("r1_p0_\u2603")), "r1_p0_\u2603"},
  };
  for (const TextCase &c : cases)
    EXPECT_EQ(c.value.toString(), QString::fromUtf8(c.text)) << c.label;
}

TEST(VariantNull, EveryConversionFailsWithTheTypeConversionMessage) {
  const Variant null = Variant::null();
  const struct {
    const char *target;
    std::function<void()> convert;
  } cases[] = {
      {"String", [&] { (void)null.toString(); }},     {"Integer", [&] { (void)null.toInt(); }},
      {"Int64", [&] { (void)null.toInt64(); }},       {"Double", [&] { (void)null.toDouble(); }},
      {"Currency", [&] { (void)null.toCurrency(); }}, {"Date", [&] { (void)null.toDateTime(); }},
      {"Boolean", [&] { (void)null.toBool(); }},
  };
  for (const auto &c : cases)
    EXPECT_EQ(errorOf(c.convert),
              std::string("Could not convert variant of type (Null) into type (") + c.target + ")")
        << c.target;
}

struct IntCase {
  const char *label;
  Variant value;
  std::int32_t expected;
};

TEST(VariantToInt, RoundsHalfToEvenAndParsesText) {
  const IntCase cases[] = {
      {"double 2.5", Variant(2.5), 2},
      {"double 3.5", Variant(3.5), 4},
      {"double -2.5", Variant(-2.5), -2},
      {"double 2.5000001", Variant(2.5000001), 3},
      {"currency 2.5", Variant::fromCurrency(25000), 2},
      {"currency 3.5", Variant::fromCurrency(35000), 4},
      {"currency -1.5", Variant::fromCurrency(-15000), -2},
      {"currency 2.4999", Variant::fromCurrency(24999), 2},
      {"decimal 2.5", Variant::fromDecimal(decimal(false, 1, 25)), 2},
      {"decimal -0.5", Variant::fromDecimal(decimal(true, 1, 5)), 0},
      {"date with time", Variant::fromDate(39806.75), 39807},
      {"text integer", Variant(" 42 "), 42},
      {"text negative", Variant("-17"), -17},
      {"text decimal", Variant("2.5"), 2},
      {"text true", Variant("True"), -1},
      {"boolean true", Variant(true), -1},
      {"empty", Variant(), 0},
      {"byte", Variant::fromInt(255, VarType::Byte), 255},
      {"int32 maximum", Variant(std::numeric_limits<std::int32_t>::max()),
       std::numeric_limits<std::int32_t>::max()},
  };
  for (const IntCase &c : cases)
    EXPECT_EQ(c.value.toInt(), c.expected) << c.label;
}

TEST(VariantToInt, RejectsTextAndOverflowWithThePlatformMessages) {
  EXPECT_EQ(errorOf([] { (void)Variant("abc").toInt(); }),
            "Could not convert variant of type (OleStr) into type (Integer)");
  EXPECT_EQ(errorOf([] { (void)Variant("").toInt(); }),
            "Could not convert variant of type (OleStr) into type (Integer)");
  EXPECT_EQ(errorOf([] { (void)Variant(3.0e9).toInt(); }),
            "Arithmetic overflow converting variant of type (Double) into type (Integer)");
  EXPECT_EQ(errorOf([] { (void)Variant("3000000000").toInt(); }),
            "Arithmetic overflow converting variant of type (OleStr) into type (Integer)");
  EXPECT_EQ(errorOf([] { (void)Variant::fromInt(2147483648LL, VarType::Int64).toInt(); }),
            "Arithmetic overflow converting variant of type (Int64) into type (Integer)");
  EXPECT_EQ(errorOf([] { (void)Variant(std::nan("")).toInt64(); }),
            "Arithmetic overflow converting variant of type (Double) into type (Int64)");
  EXPECT_EQ(errorOf([] { (void)Variant::fromBytes("ab").toInt(); }),
            "Could not convert variant of type (Array Byte) into type (Integer)");
}

TEST(VariantToCurrency, KeepsTenThousandthsExactly) {
  const struct {
    const char *label;
    Variant value;
    std::int64_t expected;
  } cases[] = {
      {"double", Variant(1234.56), 12345600},
      {"text four decimals", Variant("1234.5678"), 12345678},
      {"text half below", Variant("0.00005"), 0},
      {"text half above", Variant("0.00015"), 2},
      {"text negative", Variant("-922337203685477.5808"), std::numeric_limits<std::int64_t>::min()},
      {"integer", Variant(7), 70000},
      {"decimal", Variant::fromDecimal(decimal(false, 6, 1234567)), 12346},
      {"currency", Variant::fromCurrency(-5), -5},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.value.toCurrency(), c.expected) << c.label;
  EXPECT_EQ(errorOf([] { (void)Variant("922337203685477.5808").toCurrency(); }),
            "Arithmetic overflow converting variant of type (OleStr) into type (Currency)");
  EXPECT_EQ(errorOf([] { (void)Variant("12,5").toCurrency(); }),
            "Could not convert variant of type (OleStr) into type (Currency)");
}

TEST(VariantOtherConversions, FollowThePlatformRules) {
  EXPECT_DOUBLE_EQ(Variant::fromCurrency(12345600).toDouble(), 1234.56);
  EXPECT_EQ(Variant("2.5E3").toDouble(), 2500.0);
  EXPECT_EQ(Variant(true).toDouble(), -1.0);
  EXPECT_EQ(Variant::fromDecimal(decimal(true, 2, 125)).toDouble(), -1.25);
  EXPECT_EQ(Variant("25/12/2008").toDateTime(), oleDate(2008, 12, 25));
  EXPECT_EQ(Variant("3/02/2001 4:05:06 AM").toDateTime(), oleDate(2001, 2, 3, 4, 5, 6));
  EXPECT_EQ(Variant(Variant::fromDate(oleDate(2001, 2, 3, 4, 5, 6)).toString()).toDateTime(),
            oleDate(2001, 2, 3, 4, 5, 6));
  EXPECT_TRUE(Variant("true").toBool());
  EXPECT_FALSE(Variant("0").toBool());
  EXPECT_TRUE(Variant::fromCurrency(1).toBool());
  EXPECT_FALSE(Variant().toBool());
  EXPECT_EQ(Variant::fromBytes("\x01\x02").toBytes(), QByteArray("\x01\x02"));
  EXPECT_EQ(errorOf([] { (void)Variant("maybe").toBool(); }),
            "Could not convert variant of type (OleStr) into type (Boolean)");
  EXPECT_EQ(errorOf([] { (void)Variant(1).toBytes(); }),
            "Could not convert variant of type (Integer) into type (Array Byte)");
  EXPECT_EQ(errorOf([] { (void)Variant::fromBytes("x").toString(); }),
            "Could not convert variant of type (Array Byte) into type (String)");
}

TEST(VariantConstruction, ChecksRangesAndKeepsLiteralsAsText) {
  EXPECT_EQ(Variant("abc").type(), VarType::String); // not Boolean
  EXPECT_THROW(Variant::fromInt(256, VarType::Byte), EVariantError);
  EXPECT_THROW(Variant::fromInt(-1, VarType::LongWord), EVariantError);
  EXPECT_THROW(Variant::fromInt(1, VarType::Double), EVariantError);
  EXPECT_THROW(Variant::fromDecimal(decimal(false, 29, 1)), EVariantError);
  EXPECT_EQ(Variant::fromInt(-1, VarType::UInt64).toString(), "18446744073709551615");
}

TEST(VariantEquality, ComparesTypeAndValue) {
  EXPECT_EQ(Variant::fromDecimal(decimal(false, 2, 150)),
            Variant::fromDecimal(decimal(false, 1, 15)));
  EXPECT_EQ(Variant::fromDecimal(decimal(true, 2, 0)), Variant::fromDecimal(decimal(false, 0, 0)));
  EXPECT_NE(Variant::fromDecimal(decimal(true, 1, 15)),
            Variant::fromDecimal(decimal(false, 1, 15)));
  EXPECT_NE(Variant(1), Variant::fromInt(1, VarType::SmallInt));
  EXPECT_NE(Variant(1.0), Variant::fromDate(1.0));
  EXPECT_NE(Variant(std::nan("")), Variant(std::nan("")));
  EXPECT_NE(Variant(QString()), Variant::null());
  EXPECT_NE(Variant(), Variant::null());
  EXPECT_EQ(Variant::null(), Variant::null());
  EXPECT_NE(Variant::fromBytes("ab"), Variant::fromBytes("ac"));
}

// Variants hold text and bytes beside scalars in one small value: every copy, move and
// assignment between kinds must leave each variant with exactly its own value (and, under
// the sanitizers, neither a leak nor a double release).
TEST(VariantValueSemantics, CopiesMovesAndAssignmentsKeepEachValue) {
  const std::vector<Variant> kinds = {
      Variant(),
      Variant::null(),
      Variant(-7),
      Variant(2.5),
      Variant::fromCurrency(-12345678),
      Variant::fromDecimal(decimal(true, 3, 987654321)),
      Variant::fromUInt64(std::numeric_limits<std::uint64_t>::max()),
      Variant(QString()),
      Variant(QString(300, QChar(u'\u00e9'))),
      Variant::fromBytes(QByteArray("\x00\x01\xff", 3)),
  };
  for (const Variant &from : kinds) {
    for (const Variant &to : kinds) {
      const std::string label = describe(from) + " -> " + describe(to);
      Variant target = to;
      target = from;
      EXPECT_EQ(target, from) << label;
      Variant moved = to;
      moved = std::move(target);
      EXPECT_EQ(moved, from) << label;
      EXPECT_TRUE(target.isEmpty()) << label;
      Variant constructed(std::move(moved));
      EXPECT_EQ(constructed, from) << label;
      EXPECT_TRUE(moved.isEmpty()) << label;
      Variant &self = constructed;
      constructed = self;
      EXPECT_EQ(constructed, from) << label;
    }
  }
  // A copy is a value of its own: changing the source's text leaves it alone.
  QString text = QStringLiteral("shared");
  const Variant copy(text);
  text[0] = u'S';
  EXPECT_EQ(copy.toString(), "shared");
}

} // namespace
