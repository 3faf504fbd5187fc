// The page image of the preview: the recorded page replayed over a white sheet with a black
// outline and a 2-pixel shadow, sized to the paper at the current zoom.
#pragma once

#include "report/preview/PreviewGeometry.h"

#include <QWidget>
#include <memory>

namespace TDInvoice::Report {

class TMetaPage;

class TPreviewPage : public QWidget {
public:
  explicit TPreviewPage(QWidget *parent = nullptr);
  ~TPreviewPage() override;

  // The page to show (nullptr: an empty sheet) and the paper it is drawn on, in screen
  // pixels at 100 %.
  void setPage(std::unique_ptr<TMetaPage> page);
  const TMetaPage *page() const { return m_page.get(); }
  void setPaper(QSizeF pixels);
  QSizeF paper() const { return m_paper; }
  void setZoom(int percent);
  int zoom() const { return m_zoom; }
  const TPageImageLayout &layout() const { return m_layout; }

  QSize sizeHint() const override { return m_layout.imageSize; }

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  void relayout();

  std::unique_ptr<TMetaPage> m_page;
  QSizeF m_paper{793.7, 1122.5};
  int m_zoom = 100;
  TPageImageLayout m_layout;
};

} // namespace TDInvoice::Report
