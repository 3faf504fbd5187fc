#include "PreviewTestSupport.h"

#include "report/engine/ReportLayout.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>

namespace TDInvoice::Report::Testing {

void deliverPosted() {
  for (int i = 0; i < 3; ++i)
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void recordPages(TReportPrinter &device, int pages, bool finished) {
  device.beginDoc();
  for (int n = 1; n <= pages; ++n) {
    device.newPage();
    TCanvas &canvas = device.canvas();
    canvas.textOut(100, 100, QStringLiteral("Page %1").arg(n));
    canvas.Brush = TBrushSpec{qRgb(0, 0, 0), true};
    canvas.fillRect(QRect(100 + n, 200, 40, 20));
  }
  if (finished)
    device.endDoc();
}

QStringList textsOf(const TMetaPage &page) {
  QStringList texts;
  for (const TMetaElement &element : page.elements())
    if (const auto *text = std::get_if<TMetaText>(&element))
      texts << text->text;
  return texts;
}

// Qt writes its page objects uncompressed.
int pdfPageCount(const QString &fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    return -1;
  const QByteArray bytes = file.readAll();
  if (!bytes.startsWith("%PDF"))
    return -1;
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
  int count = 0;
  for (auto it = page.globalMatch(QString::fromLatin1(bytes)); it.hasNext(); it.next())
    ++count;
  return count;
}

bool isBlack(QRgb pixel) { return qRed(pixel) < 40 && qGreen(pixel) < 40 && qBlue(pixel) < 40; }

bool isWhite(QRgb pixel) { return qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245; }

SyntheticReport::SyntheticReport(int records, int labelsPerPage) {
  report = new TReport(&form);
  report->setName(QStringLiteral("Report1"));
  report->Page().setPaperSize(TReportPaperSize::A4);
  report->Page().setValues({150.0, 2970.0, 100.0, 2100.0, 150.0, 150.0, 0.0});
  report->setShowProgress(false);
  data = new TMemoryDataSet(&form, QStringLiteral("Rows"));
  data->setColumns({{QStringLiteral("No"), TReportFieldType::Integer}});
  for (int n = 1; n <= records; ++n)
    data->appendRow({n});
  report->setDataSet(data);
  detail = addBand(*report, {.name = QStringLiteral("Detail"),
                             .type = TReportBandType::rbDetail,
                             .height = 100.0 + labelsPerPage * 50.0,
                             .options = TBandOption::ForceNewPage});
  m_label = addLabel(*detail, {.name = QStringLiteral("lblRecord"),
                               .box = {0, 0, 600, 45},
                               .options = TLabelOption::AutoSize});
  for (int i = 0; i < labelsPerPage; ++i)
    addLabel(*detail, {.name = QStringLiteral("lblFiller%1").arg(i),
                       .box = {0, 60.0 + i * 50.0, 1500, 45},
                       .options = TLabelOption::AutoSize,
                       .caption = QStringLiteral("Filler line %1 of a bigger page").arg(i)});
  detail->BeforePrint = [this](TReportCustomBand *, bool &) {
    const int record = data->value(QStringLiteral("No")).toInt();
    m_label->setCaption(QStringLiteral("Record %1").arg(record));
    if (m_byRecord)
      m_label->setNativeBox(0, record * 100.0, m_label->nativeWidth(), 45);
    ++recordsPrinted;
    if (beforeRecord)
      beforeRecord(record);
  };
}

void SyntheticReport::placeLabelsByRecord(bool on) {
  m_byRecord = on;
  if (on)
    detail->Size().setNativeValue(TReportBandSize::LengthIndex, 700);
}

std::vector<QStringList> pageTexts(const TReportPrinter &device) {
  std::vector<QStringList> result;
  for (int n = 1; n <= device.availablePages(); ++n)
    if (const auto page = device.getPage(n))
      result.push_back(textsOf(*page));
  return result;
}

} // namespace TDInvoice::Report::Testing
