// tdinvoice pdf for each of the six variants on the demo database, checked with poppler's
// tools against the database itself and the layouts' own numbers: pages, invoice numbers,
// where the payment slip sits, and amounts that add up.
#include "DemoTestSupport.h"
#include "PdfText.h"
#include "ProgramRunner.h"

#include "host/demo/DemoDatabase.h"
#include "invoice/layout/InvoiceLayouts.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

namespace TDInvoice::Testing {
namespace {

struct TVariantCase {
  const char *name;
  Layout::TFormClass form;
  const char *feesCaption; // the slip's caption of the estimated fees
  std::vector<const char *> shown;
  std::vector<const char *> notShown;
};

std::ostream &operator<<(std::ostream &out, const TVariantCase &c) { return out << c.name; }

const TVariantCase kVariants[] = {
    {"standard",
     Layout::TFormClass::Standard,
     "Estimated Fees",
     {"(not included in balance to be carried forward)", "Date Paid:", "EFT", "Card",
      "Direct Credit payments may be made to BSB 062-118 A/C 10457733"},
     {"MASTERCARD", "Biller Code:", "New Charges"}},
    {"extend",
     Layout::TFormClass::Extend,
     "New Charges",
     {"New Charges", "Date Paid:", "EFT"},
     {"(not included in balance to be carried forward)", "MASTERCARD", "Biller Code:"}},
    {"creditcard",
     Layout::TFormClass::CreditCard,
     "Estimated Fees",
     {"MASTERCARD", "VISA", "CVV", "Card Nbr:", "Credit Card", "CARDHOLDERS NAME (Please Print)"},
     {"Biller Code:", "New Charges"}},
    {"extendcc",
     Layout::TFormClass::ExtendCC,
     "New Charges",
     {"MASTERCARD", "VISA", "New Charges"},
     {"Biller Code:", "(not included in balance to be carried forward)"}},
    {"bpay",
     Layout::TFormClass::BPAY,
     "Estimated Fees",
     {"Biller Code:", "284917", "Ref:", "BPAY", "Date Paid:"},
     {"MASTERCARD", "New Charges", "Direct Credit payments"}},
    {"bpaycc",
     Layout::TFormClass::BPAYCC,
     "Estimated Fees",
     {"Biller Code:", "284917", "Ref:"},
     {"MASTERCARD", "New Charges", "Direct Credit payments"}},
};

// Where the slip must be, from the variant's layout: its top edge lies at the paper's length
// less the bottom margin and the footer's height; its heading sits at its label's offset.
struct TSlipGeometry {
  double top;     // mm from the top of the paper
  double heading; // mm of "PAYMENT SLIP" below the slip's top
};

TSlipGeometry slipGeometry(Layout::TFormClass form) {
  const Layout::TReportDesc layout = Layout::layoutFor(form);
  const Layout::TBandDesc *footer = Layout::findBand(layout, "InvoiceFooter");
  const Layout::TPrintableDesc *heading = Layout::findPrintable(*footer, "lblPaymentSlipLabel");
  return {(layout.page.length - layout.page.bottomMargin - footer->height.native()) / 10.0,
          heading->top.native() / 10.0};
}

struct TExpected {
  std::int64_t closeBal = 0; // cents
  std::int64_t fees = 0;     // cents: the charges of the invoice's pending attendances
};

std::map<int, TExpected> expectedInvoices(const Host::TestHost &host) {
  std::map<int, TExpected> expected;
  for (const auto &row :
       host.query("SELECT InvoiceNo, CAST(ROUND(CloseBal * 100) AS INTEGER) FROM Invoices").rows)
    expected[row[0].toInt()].closeBal = row[1].toInt64();
  // The library's join, over each pending attendance once.
  for (const auto &row :
       host.query("SELECT u.InvoiceNo, CAST(ROUND(SUM(c.Amount) * 100) AS INTEGER) FROM "
                  "(SELECT DISTINCT InvoiceNo, AttRecNo FROM UnresolvedAttendances) u "
                  "JOIN BookingCharges b ON b.AttRecNo = u.AttRecNo JOIN Charges c ON "
                  "b.AttRecNo = c.AttRecNo AND b.ChildID = c.ChildID AND b.SessTypeID = "
                  "c.SessTypeID AND b.SessionDate = c.SessionDate GROUP BY u.InvoiceNo")
           .rows)
    expected[row[0].toInt()].fees = row[1].toInt64();
  return expected;
}

class EndToEnd : public ::testing::TestWithParam<TVariantCase> {
protected:
  static void SetUpTestSuite() {
    FDir = new QTemporaryDir;
    setenv("TDINVOICE_DEMO_DIR", FDir->path().toLocal8Bit().constData(), 1);
    const QString database = Demo::ensureDefaultDemoDatabase();
    Host::TestHost host(database);
    FExpected = expectedInvoices(host);
  }
  static void TearDownTestSuite() {
    unsetenv("TDINVOICE_DEMO_DIR");
    FPdfs.clear();
    delete FDir;
  }

  struct TVariantPdf {
    TProgramRun run;
    std::vector<TPdfPage> pages;
    std::string info; // pdfinfo's report
  };
  static const std::vector<TPdfPage> &pdfOf(const TVariantCase &variant);

  static inline QTemporaryDir *FDir = nullptr;
  static inline std::map<int, TExpected> FExpected;
  static inline std::map<std::string, TVariantPdf> FPdfs;
};

struct TInvoicePages {
  int number = 0;
  std::size_t first = 0, last = 0; // page indexes
};

std::vector<TInvoicePages> splitInvoices(const std::vector<TPdfPage> &pages) {
  std::vector<TInvoicePages> invoices;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const TPdfWord *label = pages[i].find("Invoice No:");
    if (!pages[i].find("INVOICE/STATEMENT") || !label)
      continue;
    if (!invoices.empty())
      invoices.back().last = i - 1;
    const TPdfWord *number = pages[i].rightOf(*label, "Invoice No:");
    invoices.push_back({number ? number->text.toInt() : 0, i, pages.size() - 1});
  }
  return invoices;
}

std::optional<std::int64_t> amountRightOf(const TPdfPage &page, const QString &label,
                                          double minTop) {
  const TPdfWord *word = page.find(label, minTop);
  const TPdfWord *value = word ? page.rightOf(*word, label) : nullptr;
  return value ? parseMoney(value->text) : std::nullopt;
}

// Past due (or credit) + estimated fees = please pay (or net credit), and each agrees with
// the database.
void checkSlipAmounts(const TPdfPage &page, double slipTop, const TVariantCase &variant,
                      const TExpected &expected) {
  const double below = slipTop - 1.0;
  const bool credit = expected.closeBal < 0;
  const std::optional<std::int64_t> past =
      amountRightOf(page, credit ? "Past Credit" : "Past Due", below);
  const std::optional<std::int64_t> fees = amountRightOf(page, variant.feesCaption, below);
  const std::int64_t total = expected.closeBal + expected.fees;
  const std::optional<std::int64_t> pay =
      amountRightOf(page, total < 0 ? "Net Credit" : "Please Pay", below);
  ASSERT_TRUE(past && fees && pay) << page.text().toStdString();
  EXPECT_EQ(*past + *fees, *pay);
  EXPECT_EQ(*past, expected.closeBal);
  EXPECT_EQ(*fees, expected.fees);
}

// The estimated fees' own footer repeats what to pay.
void checkPleasePayLine(const std::vector<TPdfPage> &pages, const TInvoicePages &invoice,
                        const TExpected &expected) {
  const std::int64_t total = expected.closeBal + expected.fees;
  std::optional<std::int64_t> said;
  bool noPayment = false;
  for (std::size_t p = invoice.first; p <= invoice.last; ++p) {
    if (const TPdfWord *line = pages[p].find("Please pay"))
      if (const TPdfWord *value = pages[p].rightOf(*line, "Please pay"))
        said = parseMoney(value->text);
    noPayment = noPayment || pages[p].find("No payment necessary");
  }
  if (expected.fees == 0 || total == 0) {
    EXPECT_FALSE(said || noPayment);
  } else if (total > 0) {
    EXPECT_EQ(said, total);
  } else {
    EXPECT_TRUE(noPayment && !said);
  }
}

// The PDF of one variant, written once per test program.
const std::vector<TPdfPage> &EndToEnd::pdfOf(const TVariantCase &variant) {
  auto known = FPdfs.find(variant.name);
  if (known != FPdfs.end())
    return known->second.pages;
  TVariantPdf &made = FPdfs[variant.name];
  const QString pdf = FDir->filePath(QStringLiteral("%1.pdf").arg(QLatin1String(variant.name)));
  made.run = runTdinvoice({"pdf", pdf.toStdString(), "--variant", variant.name, "--no-progress"},
                          FDir->path().toStdString());
  made.pages = readPdfWords(pdf);
  made.info = runTool({"pdfinfo", pdf.toStdString()});
  return made.pages;
}

TEST_P(EndToEnd, PdfOfEveryDemoInvoice) {
  const TVariantCase &variant = GetParam();
  const std::vector<TPdfPage> &pages = pdfOf(variant);
  const TProgramRun &run = FPdfs.at(variant.name).run;
  ASSERT_EQ(run.exitCode, 0) << run.all();
  EXPECT_NE(run.out.find("shared allocator blocks beyond the baseline: 0"), std::string::npos);
  EXPECT_NE(run.out.find("shared allocator blocks in use: 0"), std::string::npos);
  EXPECT_NE(
      FPdfs.at(variant.name).info.find("Pages:           " + std::to_string(pages.size()) + "\n"),
      std::string::npos)
      << FPdfs.at(variant.name).info;
  EXPECT_NE(run.out.find(": " + std::to_string(pages.size()) + " page(s)"), std::string::npos);

  const std::vector<TInvoicePages> invoices = splitInvoices(pages);
  ASSERT_EQ(invoices.size(), FExpected.size());
  std::set<int> seen;
  const TSlipGeometry slip = slipGeometry(variant.form);
  for (const TInvoicePages &invoice : invoices) {
    SCOPED_TRACE(invoice.number);
    ASSERT_EQ(FExpected.count(invoice.number), 1u);
    EXPECT_TRUE(seen.insert(invoice.number).second) << "printed twice";
    int mentions = 0;
    for (const TPdfPage &page : pages)
      mentions += page.count(QString::number(invoice.number));
    EXPECT_EQ(mentions, 1);
    // The slip prints once, on the invoice's last page, at the bottom-aligned position.
    for (std::size_t p = invoice.first; p < invoice.last; ++p)
      EXPECT_EQ(pages[p].find("PAYMENT SLIP"), nullptr) << "slip on page " << p + 1;
    const TPdfWord *heading = pages[invoice.last].find("PAYMENT SLIP");
    ASSERT_NE(heading, nullptr) << "no slip on page " << invoice.last + 1;
    EXPECT_NEAR(heading->top - slip.heading, slip.top, 0.5);
    checkSlipAmounts(pages[invoice.last], slip.top, variant, FExpected.at(invoice.number));
    checkPleasePayLine(pages, invoice, FExpected.at(invoice.number));
  }
}

// What tells the six slips apart: captions of the layouts and the texts their handlers fill
// in from the service's details.
TEST_P(EndToEnd, SlipShowsItsVariant) {
  const TVariantCase &variant = GetParam();
  const std::vector<TPdfPage> &pages = pdfOf(variant);
  ASSERT_FALSE(pages.empty()) << FPdfs.at(variant.name).run.all();
  QString text;
  for (const TPdfPage &page : pages)
    text += page.text() + u' ';
  for (const char *phrase : variant.shown)
    EXPECT_TRUE(text.contains(QLatin1String(phrase))) << "missing: " << phrase;
  for (const char *phrase : variant.notShown)
    EXPECT_FALSE(text.contains(QLatin1String(phrase))) << "printed: " << phrase;
}

// --invoices picks the rows LoadDataSet loads, --sort orders them through SetSort.
TEST_F(EndToEnd, SelectionAndSortReachTheReport) {
  const QString pdf = FDir->filePath(QStringLiteral("sorted.pdf"));
  const TProgramRun run = runTdinvoice(
      {"pdf", pdf.toStdString(), "--invoices", "WHERE CloseBal > 0", "--sort", "CloseBal DESC"},
      FDir->path().toStdString());
  ASSERT_EQ(run.exitCode, 0) << run.all();
  std::vector<std::int64_t> balances;
  for (const TInvoicePages &invoice : splitInvoices(readPdfWords(pdf))) {
    ASSERT_EQ(FExpected.count(invoice.number), 1u) << invoice.number;
    balances.push_back(FExpected.at(invoice.number).closeBal);
  }
  const auto owing = std::count_if(FExpected.begin(), FExpected.end(),
                                   [](const auto &entry) { return entry.second.closeBal > 0; });
  EXPECT_EQ(static_cast<std::ptrdiff_t>(balances.size()), owing);
  EXPECT_TRUE(std::all_of(balances.begin(), balances.end(), [](auto b) { return b > 0; }));
  EXPECT_TRUE(std::is_sorted(balances.rbegin(), balances.rend()));
  EXPECT_LT(balances.back(), balances.front());
}

INSTANTIATE_TEST_SUITE_P(Variants, EndToEnd, ::testing::ValuesIn(kVariants),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace TDInvoice::Testing
