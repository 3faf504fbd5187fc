#include "report/output/Exporters.h"

#include "TDInvoice/Exceptions.h"
#include "report/output/MetaPage.h"
#include "report/output/ReportPageList.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

namespace TDInvoice::Report {

namespace {

QPageLayout layoutOf(const TMetaPage &page) {
  const QSizeF mm = page.sizeMM();
  const bool landscape = mm.width() > mm.height();
  const QSizeF portrait = landscape ? mm.transposed() : mm;
  return QPageLayout(QPageSize(portrait, QPageSize::Millimeter),
                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

} // namespace

int exportPdf(const TReportPageList &pages, const QString &fileName, const QString &title) {
  const int count = pages.pageCount();
  QPdfWriter writer(fileName);
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("TDInvoice"));
  QPainter painter;
  TReplayCache cache;
  for (int n = 1; n <= count; ++n) {
    const auto page = pages.getPage(n);
    writer.setPageLayout(layoutOf(*page));
    if (n == 1) {
      if (!painter.begin(&writer))
        throw EReportError("Cannot write the PDF file " + fileName.toStdString());
    } else if (!writer.newPage()) {
      throw EReportError("Cannot write the PDF file " + fileName.toStdString());
    }
    page->replay(painter, QRectF(0, 0, writer.width(), writer.height()), &cache);
  }
  if (painter.isActive() && !painter.end())
    throw EReportError("Cannot write the PDF file " + fileName.toStdString());
  return count;
}

int exportPng(const TReportPageList &pages, const QString &folder, int dpi) {
  if (dpi <= 0 || !QDir().mkpath(folder))
    throw EReportError("Cannot write PNG pages to " + folder.toStdString());
  const int count = pages.pageCount();
  TReplayCache cache;
  for (int n = 1; n <= count; ++n) {
    const auto page = pages.getPage(n);
    const QSize size(
        static_cast<int>(std::lround(page->size().width() * double(dpi) / page->dpiX())),
        static_cast<int>(std::lround(page->size().height() * double(dpi) / page->dpiY())));
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::TextAntialiasing);
      page->replay(painter, QRectF(0, 0, size.width(), size.height()), &cache);
    }
    const QString name =
        QDir(folder).filePath(QStringLiteral("page-%1.png").arg(n, 4, 10, QLatin1Char('0')));
    if (!image.save(name, "PNG"))
      throw EReportError("Cannot write " + name.toStdString());
  }
  return count;
}

const std::vector<TExportFilter> &exportFilters() {
  static const std::vector<TExportFilter> filters{
      {QStringLiteral("PDF document"), QStringLiteral("pdf"),
       [](const TReportPageList &pages, const QString &file) {
         return exportPdf(pages, file, QString());
       }},
      {QStringLiteral("PNG images"), QStringLiteral("png"),
       [](const TReportPageList &pages, const QString &folder) {
         return exportPng(pages, folder);
       }},
  };
  return filters;
}

} // namespace TDInvoice::Report
