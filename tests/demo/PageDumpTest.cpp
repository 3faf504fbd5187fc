// The demo invoices through the library in this process, as the host drives it, saved as a
// page store and read back element by element: on each invoice's last page the payment
// slip's tear-off line lies at the paper's length less the bottom margin and the slip's
// height, to the device unit the pages are recorded in.
#include "TDInvoice/Application.h"
#include "TDInvoice/SharedAllocator.h"
#include "host/InvoiceLibrary.h"
#include "host/demo/DemoDatabase.h"
#include "host/demo/DemoReportRun.h"
#include "invoice/layout/InvoiceLayouts.h"
#include "report/output/MetaPage.h"
#include "report/output/ReportPageList.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>

namespace TDInvoice::Testing {
namespace {

Host::TInvoiceLibrary *gLibrary = nullptr;

struct TSlipCase {
  const char *variant;
  Layout::TFormClass form;
};

const TSlipCase kCases[] = {
    {"standard", Layout::TFormClass::Standard},
    {"extend", Layout::TFormClass::Extend},
    {"creditcard", Layout::TFormClass::CreditCard},
    {"extendcc", Layout::TFormClass::ExtendCC},
    {"bpay", Layout::TFormClass::BPAY},
    {"bpaycc", Layout::TFormClass::BPAYCC},
};

// The slip's top edge in millimetres, and the band's left and right edges.
struct TSlipEdge {
  double top, left, right;
};

TSlipEdge slipEdge(Layout::TFormClass form) {
  const Layout::TReportDesc layout = Layout::layoutFor(form);
  const Layout::TBandDesc *footer = Layout::findBand(layout, "InvoiceFooter");
  return {(layout.page.length - layout.page.bottomMargin - footer->height.native()) / 10.0,
          layout.page.leftMargin / 10.0, (layout.page.width - layout.page.rightMargin) / 10.0};
}

const Report::TMetaText *findText(const Report::TMetaPage &page, const QString &text) {
  for (const Report::TMetaElement &element : page.elements())
    if (const auto *t = std::get_if<Report::TMetaText>(&element); t && t->text == text)
      return t;
  return nullptr;
}

// The tear-off line: a band frame line is drawn as a dark rule one or two device units high
// (or as a line) across the whole band, its top at y (mm), within one device unit.
bool hasTearOffLine(const Report::TMetaPage &page, const TSlipEdge &edge) {
  const double mmX = 25.4 / page.dpiX(), mmY = 25.4 / page.dpiY();
  for (const Report::TMetaElement &element : page.elements()) {
    QRect rule;
    if (const auto *line = std::get_if<Report::TMetaLine>(&element);
        line && line->from.y() == line->to.y())
      rule = QRect(line->from, line->to).normalized();
    else if (const auto *fill = std::get_if<Report::TMetaFillRect>(&element);
             fill && fill->brush.solid && qGray(fill->brush.color) < 64 && fill->rect.height() <= 2)
      rule = fill->rect;
    else
      continue;
    if (std::abs(rule.top() * mmY - edge.top) <= mmY &&
        std::abs(rule.left() * mmX - edge.left) <= mmX &&
        std::abs((rule.left() + rule.width()) * mmX - edge.right) <= 2 * mmX)
      return true;
  }
  return false;
}

class PageDump : public ::testing::TestWithParam<TSlipCase> {
protected:
  static void SetUpTestSuite() {
    FDir = new QTemporaryDir;
    setenv("TDINVOICE_DEMO_DIR", FDir->path().toLocal8Bit().constData(), 1);
    FDatabase = Demo::ensureDefaultDemoDatabase();
  }
  static void TearDownTestSuite() {
    unsetenv("TDINVOICE_DEMO_DIR");
    delete FDir;
  }
  static inline QTemporaryDir *FDir = nullptr;
  static inline QString FDatabase;
};

TEST_P(PageDump, TearOffLineOnEachInvoicesLastPage) {
  const TSlipCase &c = GetParam();
  const QString store = FDir->filePath(QStringLiteral("%1.qrp").arg(QLatin1String(c.variant)));
  int invoices = 0;
  {
    Demo::TDemoReportRun run(gLibrary->CreateInvoiceReport,
                             {FDatabase, Demo::findVariant(c.variant), {}, {}});
    invoices = run.invoiceCount();
    EXPECT_GT(run.report().exportTo(store.toLocal8Bit().constData(), "qrp"), 0);
    EXPECT_EQ(run.release(), 0) << "shared allocator blocks left behind";
  }
  Report::TReportPageList pages;
  pages.loadFromFile(store);
  const TSlipEdge edge = slipEdge(c.form);
  int slips = 0;
  for (int n = 1; n <= pages.pageCount(); ++n) {
    const std::unique_ptr<Report::TMetaPage> page = pages.getPage(n);
    ASSERT_TRUE(page);
    const Report::TMetaText *heading = findText(*page, QStringLiteral("PAYMENT SLIP"));
    if (!heading)
      continue;
    ++slips;
    EXPECT_TRUE(hasTearOffLine(*page, edge)) << "page " << n << ": no line at " << edge.top;
    // The heading's text cell starts at its label's offset below the line.
    EXPECT_NEAR(heading->anchor.y() * 25.4 / page->dpiY() - edge.top, 1.3, 25.4 / page->dpiY())
        << "page " << n;
  }
  EXPECT_EQ(slips, invoices);
}

INSTANTIATE_TEST_SUITE_P(Variants, PageDump, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.variant); });

} // namespace
} // namespace TDInvoice::Testing

int main(int argc, char **argv) {
  using namespace TDInvoice;
  initialiseSharedAllocator(); // published before the library is loaded, as a host does
  ::testing::InitGoogleTest(&argc, argv);
  // Also while CTest lists the tests, which it does without the tests' environment.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  Host::TInvoiceLibrary library;
  std::string error;
  if (!library.open(TDI_LIBRARY_PATH, error)) {
    std::fprintf(stderr, "cannot load the library: %s\n", error.c_str());
    return 1;
  }
  TApplication hostApplication(&app);
  TScreen hostScreen(QGuiApplication::primaryScreen(), TScreen::DefaultPixelsPerInch);
  library.InitInvoiceDLL(&hostApplication, &hostScreen);
  Testing::gLibrary = &library;
  const int result = RUN_ALL_TESTS();
  library.FinaliseInvoiceDLL();
  library.close();
  return result;
}
