// A canvas that records what is drawn on it into a TMetaPage, at any resolution (96 dpi when
// recording for preview, the printer's resolution when printing directly).
#pragma once

#include "report/Canvas.h"
#include "report/output/MetaPage.h"

#include <QImage>

namespace TDInvoice::Report {

class TRecordingCanvas : public TCanvas {
public:
  TRecordingCanvas(QSize pageSize, int dpiX, int dpiY);

  int dpiX() const override { return m_page.dpiX(); }
  int dpiY() const override { return m_page.dpiY(); }
  QPaintDevice *measureDevice() override { return &m_measure; }

  void fillRect(const QRect &r) override;
  void rectangle(const QRect &r) override;
  void ellipse(const QRect &r) override;
  void line(const QPoint &from, const QPoint &to) override;
  void textOut(int x, int y, const QString &text, TTextAlign align = TTextAlign::Left) override;
  void drawImage(const QRect &target, const QImage &image) override;
  void drawPicture(const QRect &target, const QByteArray &svg) override;
  void setClipRect(const QRect &r) override;
  void clearClip() override;

  const TMetaPage &page() const { return m_page; }
  // Hands the recorded page over and starts an empty one of the same size.
  TMetaPage takePage();

private:
  TMetaPage m_page;
  QImage m_measure;
};

} // namespace TDInvoice::Report
