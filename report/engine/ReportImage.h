// A picture printed in its box: a bitmap (QImage) or a vector picture (SVG).
#pragma once

#include "report/engine/ReportPrintable.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace TDInvoice::Report {

class TReportImage : public TReportPrintable {
public:
  explicit TReportImage(QObject *owner = nullptr);

  // Setting a picture replaces the other kind. With AutoSize the box takes the picture's
  // natural size in screen pixels.
  void setBitmap(const QImage &image);
  void setSvg(const QByteArray &svg);
  const QImage &bitmap() const { return m_bitmap; }
  const QByteArray &svg() const { return m_svg; }
  bool hasPicture() const { return !m_bitmap.isNull() || !m_svg.isEmpty(); }
  // Natural size in screen pixels.
  QSize pictureSize() const;

  bool Stretch() const { return m_stretch; }
  void setStretch(bool on) { m_stretch = on; }
  bool Center() const { return m_center; }
  void setCenter(bool on) { m_center = on; }
  bool AutoSize() const { return m_autoSize; }
  void setAutoSize(bool on);

  void print(double offsetX, double offsetY) override;

private:
  void fitToPicture();

  QImage m_bitmap;
  QByteArray m_svg;
  bool m_stretch = false;
  bool m_center = false;
  bool m_autoSize = false;
};

} // namespace TDInvoice::Report
