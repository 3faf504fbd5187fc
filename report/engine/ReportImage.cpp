#include "report/engine/ReportImage.h"

#include "report/output/ReportPrinter.h"

#include <QSvgRenderer>

namespace TDInvoice::Report {

TReportImage::TReportImage(QObject *owner) : TReportPrintable(owner) {
  const double side = nativeFromPixels(105);
  setNativeBox(0, 0, side, side);
}

void TReportImage::setBitmap(const QImage &image) {
  m_bitmap = image;
  m_svg.clear();
  fitToPicture();
}

void TReportImage::setSvg(const QByteArray &svg) {
  m_svg = svg;
  m_bitmap = QImage();
  fitToPicture();
}

void TReportImage::setAutoSize(bool on) {
  m_autoSize = on;
  fitToPicture();
}

QSize TReportImage::pictureSize() const {
  if (!m_bitmap.isNull())
    return m_bitmap.size();
  if (!m_svg.isEmpty()) {
    QSvgRenderer renderer(m_svg);
    return renderer.isValid() ? renderer.defaultSize() : QSize();
  }
  return {};
}

void TReportImage::fitToPicture() {
  if (!m_autoSize || !hasPicture())
    return;
  const QSize size = pictureSize();
  if (size.isEmpty())
    return;
  setWidth(size.width());
  setHeight(size.height());
}

void TReportImage::print(double offsetX, double offsetY) {
  setFinished(true);
  setProgressed(true);
  TReportPrinter *device = printer();
  if (!device)
    return;
  TCanvas &canvas = device->canvas();
  const double left = offsetX + nativeLeft();
  const double top = offsetY + nativeTop();
  const QRect box = deviceRect(left, top, left + nativeWidth(), top + nativeHeight());
  if (hasPicture()) {
    QRect target = box;
    if (!m_stretch) {
      // Natural size: screen pixels converted to device units.
      const QSize natural = pictureSize();
      const QSize size(device->xSize(nativeFromPixels(natural.width())),
                       device->ySize(nativeFromPixels(natural.height())));
      target = QRect(box.topLeft(), size);
      if (m_center)
        target.translate((box.width() - size.width()) / 2, (box.height() - size.height()) / 2);
      canvas.setClipRect(box);
    }
    if (!m_bitmap.isNull())
      canvas.drawImage(target, m_bitmap);
    else
      canvas.drawPicture(target, m_svg);
    if (!m_stretch)
      canvas.clearClip();
  }
  paintFrame(canvas, box, Frame(), device->xFactor(), device->yFactor());
}

} // namespace TDInvoice::Report
