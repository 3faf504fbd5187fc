// Group expression values: fields by dataset and name, constants and literals.
#include "EngineTestSupport.h"

#include "TDInvoice/Exceptions.h"
#include "report/engine/ReportExpression.h"

#include <QDate>

namespace TDInvoice::Testing {
namespace {

struct TFieldCase {
  const char *name;
  TReportFieldType type;
  QVariant value;
  QString displayText;
  TReportValue expected;
};

class FieldValue : public ::testing::TestWithParam<TFieldCase> {};

TEST_P(FieldValue, FollowsTheFieldClass) {
  const TFieldCase &c = GetParam();
  const TReportValue value = valueOfField({"F", c.type, c.value, c.displayText});
  EXPECT_EQ(value.index(), c.expected.index());
  EXPECT_TRUE(sameValue(value, c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldValue,
    ::testing::Values(
        TFieldCase{"String", TReportFieldType::String, "Abc", {}, QString("Abc")},
        TFieldCase{
            "LongString", TReportFieldType::String, QString(300, 'x'), {}, QString(255, 'x')},
        TFieldCase{"WideString", TReportFieldType::WideString, "W", {}, QString("W")},
        TFieldCase{"Integer", TReportFieldType::Integer, 42, {}, qint64(42)},
        TFieldCase{"SmallInt", TReportFieldType::SmallInt, -3, {}, qint64(-3)},
        TFieldCase{"Word", TReportFieldType::Word, 65535, {}, qint64(65535)},
        TFieldCase{"Float", TReportFieldType::Float, 1.25, {}, 1.25},
        TFieldCase{"Currency", TReportFieldType::Currency, 12.5, {}, 12.5},
        TFieldCase{"BCD", TReportFieldType::BCD, 7.0, {}, 7.0},
        TFieldCase{"Boolean", TReportFieldType::Boolean, true, {}, true},
        TFieldCase{"Date", TReportFieldType::Date, QDate(2024, 3, 1), "1/03/2024",
                   QString("1/03/2024")},
        TFieldCase{"DateTime", TReportFieldType::DateTime, QDateTime(), "2/03/2024 10:00",
                   QString("2/03/2024 10:00")}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FieldValue, OtherClassesAreAnError) {
  for (TReportFieldType type : {TReportFieldType::Other, TReportFieldType::LargeInt})
    EXPECT_EQ(thrownMessage<EReportError>([&] {
                valueOfField({"Blob", type, {}, {}});
              }),
              "Field Blob is of unknown type");
}

TEST(ReportValue, SameValueNeedsTheSameTypeAndValue) {
  EXPECT_TRUE(sameValue(qint64(1), qint64(1)));
  EXPECT_FALSE(sameValue(qint64(1), 1.0));
  EXPECT_FALSE(sameValue(QString("abc"), QString("ABC")));
  EXPECT_FALSE(sameValue(QString("ab"), QString("ab ")));
  EXPECT_TRUE(sameValue(2.5, 2.5));
  EXPECT_FALSE(sameValue(true, qint64(1)));
}

TEST(Literal, ParsesStringsNumbersAndBooleans) {
  EXPECT_TRUE(sameValue(*parseLiteral("''"), QString()));
  EXPECT_TRUE(sameValue(*parseLiteral("'it''s'"), QString("it's")));
  EXPECT_TRUE(sameValue(*parseLiteral("0"), qint64(0)));
  EXPECT_TRUE(sameValue(*parseLiteral("-1.5"), -1.5));
  EXPECT_TRUE(sameValue(*parseLiteral("true"), true));
  for (const char *name : {"PAGENUMBER", "inf", "nan", "ADODataSet1.InvoiceNo"})
    EXPECT_FALSE(parseLiteral(name).has_value()) << name;
}

class ExpressionTest : public ::testing::Test {
protected:
  ExpressionTest() {
    first.setColumns(
        {{"InvoiceNo", TReportFieldType::Integer}, {"Name", TReportFieldType::String}});
    first.appendRow({7, "Seven"});
    second.setColumns(
        {{"Code", TReportFieldType::String}, {"InvoiceNo", TReportFieldType::Integer}});
    second.appendRow({"X", 99});
    first.First();
    second.First();
    functions.define("PAGENUMBER", qint64(3));
  }
  TReportValue evaluate(const QString &text) {
    TReportExpression expression;
    expression.prepare(text, &dataSets, &functions);
    return expression.value();
  }

  TMemoryDataSet first{nullptr, "ADODataSet1"};
  TMemoryDataSet second{nullptr, "Other"};
  std::vector<TReportDataSet *> dataSets{&first, &second};
  TReportFunctions functions;
};

TEST_F(ExpressionTest, ResolvesDataSetAndFieldWithoutRegardToCase) {
  EXPECT_TRUE(sameValue(evaluate("ADODataSet1.InvoiceNo"), qint64(7)));
  EXPECT_TRUE(sameValue(evaluate("adodataset1.invoiceno"), qint64(7)));
  EXPECT_TRUE(sameValue(evaluate("OTHER.invoiceNo"), qint64(99)));
  // Without a dataset part every dataset is searched in order.
  EXPECT_TRUE(sameValue(evaluate(".InvoiceNo"), qint64(7)));
  EXPECT_TRUE(sameValue(evaluate("Code"), QString("X")));
}

TEST_F(ExpressionTest, FallsBackToConstantsAndLiterals) {
  EXPECT_TRUE(sameValue(evaluate("pagenumber"), qint64(3)));
  EXPECT_TRUE(sameValue(evaluate("'fixed'"), QString("fixed")));
  EXPECT_TRUE(sameValue(evaluate(""), QString()));
}

TEST_F(ExpressionTest, UnknownNamesAreAnError) {
  EXPECT_THROW(evaluate("ADODataSet1.Missing"), EReportError);
  EXPECT_THROW(evaluate("Nowhere.InvoiceNo"), EReportError);
}

TEST_F(ExpressionTest, FollowsTheCurrentRecord) {
  first.appendRow({8, "Eight"});
  TReportExpression expression;
  expression.prepare("ADODataSet1.Name", &dataSets, &functions);
  first.First();
  EXPECT_TRUE(sameValue(expression.value(), QString("Seven")));
  first.Next();
  EXPECT_TRUE(sameValue(expression.value(), QString("Eight")));
}

TEST(MemoryDataSet, NavigatesLikeAPlatformDataSet) {
  TMemoryDataSet data(nullptr, "d");
  data.setColumns({{"n", TReportFieldType::Integer}});
  data.First();
  EXPECT_TRUE(data.Eof());
  for (int n : {1, 2})
    data.appendRow({n});
  data.First();
  EXPECT_FALSE(data.Eof());
  data.Next();
  EXPECT_EQ(data.value("N").toInt(), 2);
  data.Next(); // past the end: stays on the last record
  EXPECT_TRUE(data.Eof());
  EXPECT_EQ(data.value("n").toInt(), 2);
  data.Prior();
  EXPECT_FALSE(data.Eof());
  EXPECT_EQ(data.value("n").toInt(), 1);
  data.setCountFails(true);
  EXPECT_EQ(countRecords(data), 1);
  data.setCountFails(false);
  EXPECT_EQ(countRecords(data), 2);
}

} // namespace
} // namespace TDInvoice::Testing
