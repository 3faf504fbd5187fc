#include "report/preview/PreviewPage.h"

#include "report/output/MetaPage.h"

#include <QPainter>

namespace TDInvoice::Report {

TPreviewPage::TPreviewPage(QWidget *parent) : QWidget(parent) { relayout(); }

TPreviewPage::~TPreviewPage() = default;

void TPreviewPage::setPage(std::unique_ptr<TMetaPage> page) {
  m_page = std::move(page);
  update();
}

void TPreviewPage::setPaper(QSizeF pixels) {
  if (pixels.isEmpty() || pixels == m_paper)
    return;
  m_paper = pixels;
  relayout();
}

void TPreviewPage::setZoom(int percent) {
  percent = clampZoom(percent);
  if (percent == m_zoom)
    return;
  m_zoom = percent;
  relayout();
}

void TPreviewPage::relayout() {
  m_layout = pageImageLayout(m_paper, m_zoom);
  setFixedSize(m_layout.imageSize);
  update();
}

void TPreviewPage::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawRect(m_layout.shadowRight);
  painter.drawRect(m_layout.shadowBottom);
  painter.setBrush(Qt::white);
  painter.drawRect(m_layout.sheet);
  // A cosmetic 1-pixel pen draws a rectangle's frame one pixel wider and higher than its
  // size, so the frame of outline lies exactly in the ring around the sheet.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, 0));
  painter.drawRect(m_layout.outline.adjusted(0, 0, -1, -1));
  if (!m_page)
    return;
  painter.setClipRect(m_layout.sheet);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  m_page->replay(painter, QRectF(m_layout.sheet));
}

} // namespace TDInvoice::Report
