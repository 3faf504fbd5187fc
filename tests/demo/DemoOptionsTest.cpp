// The report commands' command lines: what each accepts, what each refuses and why, and the
// SQL and sort texts built from them.
#include "host/demo/DemoOptions.h"

#include <gtest/gtest.h>

namespace TDInvoice::Demo {
namespace {

using Args = std::vector<std::string>;

struct TGoodCase {
  const char *name;
  TReportCommand command;
  Args arguments;
  void (*check)(const TReportOptions &);
};

TEST(ReportOptions, AcceptedCommandLines) {
  const TGoodCase cases[] = {
      {"pdf with defaults",
       TReportCommand::Pdf,
       {"out.pdf"},
       [](const TReportOptions &o) {
         EXPECT_EQ(o.output, "out.pdf");
         EXPECT_TRUE(o.database.isEmpty());
         EXPECT_STREQ(o.variant->name, "standard");
         EXPECT_TRUE(o.progress);
       }},
      {"options before and after the file",
       TReportCommand::Pdf,
       {"--variant", "bpaycc", "out.pdf", "--db", "x.sqlite", "--no-progress"},
       [](const TReportOptions &o) {
         EXPECT_EQ(o.output, "out.pdf");
         EXPECT_EQ(o.database, "x.sqlite");
         EXPECT_STREQ(o.variant->name, "bpaycc");
         EXPECT_FALSE(o.progress);
       }},
      {"--name=value",
       TReportCommand::Png,
       {"--invoices=WHERE CloseBal > 0", "--sort=CloseBal DESC", "pages"},
       [](const TReportOptions &o) {
         EXPECT_EQ(o.invoices, "WHERE CloseBal > 0");
         EXPECT_EQ(o.sort, "CloseBal DESC");
         EXPECT_EQ(o.output, "pages");
       }},
      {"print range",
       TReportCommand::Print,
       {"--printer", "PDF", "--copies", "2", "--first", "3", "--last", "4"},
       [](const TReportOptions &o) {
         EXPECT_EQ(o.printer, "PDF");
         EXPECT_EQ(o.copies, 2);
         EXPECT_EQ(o.firstPage, 3);
         EXPECT_EQ(o.lastPage, 4);
       }},
      {"preview closing itself",
       TReportCommand::Preview,
       {"--close-after", "500"},
       [](const TReportOptions &o) { EXPECT_EQ(o.closeAfter, 500); }},
      {"help needs no file",
       TReportCommand::Pdf,
       {"--help"},
       [](const TReportOptions &o) { EXPECT_TRUE(o.help); }},
  };
  for (const TGoodCase &c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    const std::optional<TReportOptions> options = parseReportOptions(c.command, c.arguments, error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_EQ(options->command, c.command);
    c.check(*options);
  }
}

struct TBadCase {
  TReportCommand command;
  Args arguments;
  const char *error;
};

TEST(ReportOptions, RefusedCommandLinesSayWhy) {
  const TBadCase cases[] = {
      {TReportCommand::Pdf, {}, "the PDF file to write is missing"},
      {TReportCommand::Png, {"--db", "x"}, "the folder to write the pages to is missing"},
      {TReportCommand::Pdf, {"a.pdf", "b.pdf"}, "unexpected argument \"b.pdf\""},
      {TReportCommand::Preview, {"file"}, "unexpected argument \"file\""},
      {TReportCommand::Pdf,
       {"a.pdf", "--variant", "gold"},
       "unknown variant \"gold\" (standard, extend, creditcard, extendcc, bpay or bpaycc)"},
      {TReportCommand::Pdf, {"a.pdf", "--db"}, "--db needs a value"},
      {TReportCommand::Pdf, {"a.pdf", "--copies", "2"}, "unknown option --copies"},
      {TReportCommand::Print,
       {"--copies", "0"},
       "--copies needs a whole number of 1 or more, not \"0\""},
      {TReportCommand::Print,
       {"--first", "2x"},
       "--first needs a whole number of 1 or more, not \"2x\""},
      {TReportCommand::Print,
       {"--first", "5", "--last", "2"},
       "--first must not come after --last"},
      {TReportCommand::Preview, {"--close-after"}, "--close-after needs a value"},
  };
  for (const TBadCase &c : cases) {
    std::string error;
    EXPECT_FALSE(parseReportOptions(c.command, c.arguments, error).has_value()) << c.error;
    EXPECT_EQ(error, c.error);
  }
}

// The six names choose the six forms: PaymentType 2 a card slip, 3 a BPAY slip, Extended the
// "New Charges" captions, WithCard only for BPAY.
TEST(ReportOptions, VariantNamesMapToTheirArguments) {
  struct TCase {
    const char *name;
    std::int32_t paymentType;
    std::int16_t withCard, extended;
  };
  const TCase cases[] = {{"standard", 1, 0, 0}, {"extend", 1, 0, 1}, {"creditcard", 2, 0, 0},
                         {"extendcc", 2, 0, 1}, {"bpay", 3, 0, 0},   {"bpaycc", 3, 1, 0}};
  ASSERT_EQ(demoVariants().size(), std::size(cases));
  for (const TCase &c : cases) {
    const TDemoVariant *variant = findVariant(c.name);
    ASSERT_NE(variant, nullptr) << c.name;
    EXPECT_EQ(variant->PaymentType, c.paymentType) << c.name;
    EXPECT_EQ(variant->WithCard, c.withCard) << c.name;
    EXPECT_EQ(variant->Extended, c.extended) << c.name;
  }
  EXPECT_EQ(findVariant("Standard"), nullptr);
}

TEST(ReportOptions, InvoiceSqlTakesTheClause) {
  const QString base = "SELECT InvoiceNo, IssueDT, CloseBal, CloseDate, ParentID FROM Invoices";
  EXPECT_EQ(invoiceSql(QString()), base);
  EXPECT_EQ(invoiceSql("  WHERE InvoiceNo < 40010 \n"), base + " WHERE InvoiceNo < 40010");
}

TEST(ReportOptions, SortTextIsCheckedAgainstTheInvoiceFields) {
  for (const char *good :
       {"InvoiceNo", "closebal DESC", "CloseDate ASC, InvoiceNo DESC", " ParentID ,IssueDT"})
    EXPECT_EQ(sortProblem(good), "") << good;
  struct TCase {
    const char *sort;
    const char *problem;
  };
  const TCase bad[] = {
      {"Amount",
       "unknown field \"Amount\" (the invoices sort by InvoiceNo, IssueDT, CloseBal, CloseDate "
       "or ParentID)"},
      {"InvoiceNo DOWN", "\"InvoiceNo DOWN\" is not a field followed by ASC or DESC"},
      {"InvoiceNo,", "an empty field in \"InvoiceNo,\""},
  };
  for (const TCase &c : bad)
    EXPECT_EQ(sortProblem(c.sort), c.problem) << c.sort;
}

} // namespace
} // namespace TDInvoice::Demo
