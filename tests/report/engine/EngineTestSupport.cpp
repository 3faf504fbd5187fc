#include "EngineTestSupport.h"

#include "report/ReportTypes.h"

#include <QFontMetrics>
#include <QImage>

namespace TDInvoice::Testing {

int dev(double native) { return static_cast<int>(roundHalfEven(native * 96.0 / 254.0)); }

namespace {

QFontMetrics metricsAt96(const char *family, int pixelSize, bool bold) {
  static QImage device = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(96 / 0.0254));
    image.setDotsPerMeterY(qRound(96 / 0.0254));
    return image;
  }();
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferFullHinting);
  return QFontMetrics(font, &device);
}

} // namespace

int cellHeight(const char *family, int pixelSize, bool bold) {
  return metricsAt96(family, pixelSize, bold).height();
}

int advance(const char *family, int pixelSize, const QString &text, bool bold) {
  return metricsAt96(family, pixelSize, bold).horizontalAdvance(text);
}

EngineTest::EngineTest() {
  report = new TReport(&form);
  report->setName(QStringLiteral("Report1"));
  report->Page().setPaperSize(TReportPaperSize::A4);
  report->Page().setValues({150.0, 2970.0, 100.0, 2100.0, 150.0, 150.0, 0.0});
  data = new TMemoryDataSet(&form, QStringLiteral("ADODataSet1"));
  data->setColumns({{QStringLiteral("InvoiceNo"), TReportFieldType::Integer},
                    {QStringLiteral("Name"), TReportFieldType::String}});
}

TReportBand *EngineTest::band(const QString &name, TReportBandType type, double height,
                              TBandOptions options) {
  TReportBand *b =
      addBand(*report, {.name = name, .type = type, .height = height, .options = options});
  marker(*b);
  return b;
}

TReportLabel *EngineTest::marker(TReportCustomBand &band, double top) {
  return addLabel(band, {.name = band.Name() + QStringLiteral("Marker"),
                         .box = {0, top, 200, 45},
                         .options = TLabelOption::AutoSize,
                         .caption = band.Name()});
}

void EngineTest::logPrints(TReportCustomBand &band) {
  band.AfterPrint = [this](TReportCustomBand *sender, bool printed) {
    log << (printed ? QString() : QStringLiteral("-")) + sender->Name();
  };
}

void EngineTest::fillInvoices(const std::vector<int> &invoiceNumbers) {
  for (int number : invoiceNumbers)
    data->appendRow({number, QStringLiteral("Invoice %1").arg(number)});
}

std::unique_ptr<TReportPrinter> EngineTest::record() {
  auto printer = std::make_unique<TReportPrinter>(TPrinterDestination::Record);
  report->run(*printer);
  return printer;
}

std::vector<TMetaPage> EngineTest::pages(const TReportPrinter &printer) const {
  std::vector<TMetaPage> result;
  for (int n = 1; n <= printer.availablePages(); ++n)
    if (auto page = printer.getPage(n))
      result.push_back(*page);
  return result;
}

std::vector<TFoundText> EngineTest::find(const TReportPrinter &printer, const QString &text) const {
  std::vector<TFoundText> result;
  const auto all = pages(printer);
  for (std::size_t i = 0; i < all.size(); ++i)
    for (const TMetaText &t : elementsOf<TMetaText>(all[i]))
      if (t.text == text)
        result.push_back({static_cast<int>(i) + 1, t});
  return result;
}

std::optional<TFoundText> EngineTest::findOne(const TReportPrinter &printer,
                                              const QString &text) const {
  const auto found = find(printer, text);
  EXPECT_EQ(found.size(), 1u) << "occurrences of " << text.toStdString();
  if (found.size() != 1)
    return std::nullopt;
  return found.front();
}

} // namespace TDInvoice::Testing
