// A recorded page: a display list of drawing elements in device units, with the page size
// and the resolution it was recorded at. Pages are recorded once and replayed, scaled, onto
// the preview, the printer and the exporters; the encoding is what the page store holds.
#pragma once

#include "report/Canvas.h"

#include <QByteArray>
#include <QImage>
#include <QJsonDocument>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

class QPainter;
class QRectF;

namespace TDInvoice::Report {

struct TMetaFillRect {
  QRect rect;
  TBrushSpec brush;
  bool operator==(const TMetaFillRect &) const = default;
};
struct TMetaRectangle {
  QRect rect;
  TPenSpec pen;
  TBrushSpec brush;
  bool operator==(const TMetaRectangle &) const = default;
};
struct TMetaEllipse {
  QRect rect;
  TPenSpec pen;
  TBrushSpec brush;
  bool operator==(const TMetaEllipse &) const = default;
};
struct TMetaLine {
  QPoint from;
  QPoint to;
  TPenSpec pen;
  bool operator==(const TMetaLine &) const = default;
};
// y is the top of the text cell; x is the left edge, right edge or centre by align.
struct TMetaText {
  QPoint anchor;
  TTextAlign align = TTextAlign::Left;
  TFontSpec font;
  QString text;
  bool operator==(const TMetaText &) const = default;
};
struct TMetaImage {
  QRect rect;
  QImage image;
  bool operator==(const TMetaImage &) const = default;
};
struct TMetaPicture {
  QRect rect;
  QByteArray svg;
  bool operator==(const TMetaPicture &) const = default;
};
struct TMetaClip {
  bool on = false; // off: drawing is no longer clipped
  QRect rect;
  bool operator==(const TMetaClip &) const = default;
};

using TMetaElement = std::variant<TMetaFillRect, TMetaRectangle, TMetaEllipse, TMetaLine, TMetaText,
                                  TMetaImage, TMetaPicture, TMetaClip>;

class TReplayCache;

class TMetaPage {
public:
  // The first bytes of every encoded page, and the encoding's version.
  static constexpr char kMagic[4] = {'T', 'D', 'M', 'P'};
  static constexpr std::uint16_t kVersion = 1;

  TMetaPage() = default;
  TMetaPage(QSize size, int dpiX, int dpiY);

  QSize size() const { return m_size; }
  int dpiX() const { return m_dpiX; }
  int dpiY() const { return m_dpiY; }
  QSizeF sizeMM() const;

  const std::vector<TMetaElement> &elements() const { return m_elements; }
  void add(TMetaElement element) { m_elements.push_back(std::move(element)); }
  void clear() { m_elements.clear(); }

  // The versioned binary form. decode checks every length and a checksum and raises
  // EReportError on bytes that are not a page.
  QByteArray encode() const;
  static TMetaPage decode(const QByteArray &bytes);
  // Whether data starts with the encoding's magic (used to recognise store layouts).
  static bool hasSignature(const char *data, qint64 size);

  // Draws the page scaled into target (painter coordinates). Text is set in a font sized for
  // the target, at its anchor with its alignment, so it stays where it was laid out. A cache
  // shared by the pages of one output saves resolving the same fonts and shaping the same
  // words again on every page.
  void replay(QPainter &painter, const QRectF &target, TReplayCache *cache = nullptr) const;

  bool operator==(const TMetaPage &other) const;

private:
  QSize m_size;
  int m_dpiX = 96;
  int m_dpiY = 96;
  std::vector<TMetaElement> m_elements;
};

// Fonts and shaped words kept from one replayed page to the next, for each recording and
// target resolution met. Its size is bounded: it starts afresh past a few thousand words.
class TReplayCache {
public:
  TReplayCache();
  ~TReplayCache();
  TReplayCache(const TReplayCache &) = delete;
  TReplayCache &operator=(const TReplayCache &) = delete;
  struct TData;
  TData &data() { return *m_data; }

private:
  std::unique_ptr<TData> m_data;
};

// The page's elements as JSON (kind, position and size in mm, text, font, colour): a readable
// dump for tests and tools.
QJsonDocument pageToJson(const TMetaPage &page);

} // namespace TDInvoice::Report
