// Replaying a recorded page onto any painter.
#include "report/output/MetaPage.h"
#include "report/output/SvgPicture.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <deque>
#include <optional>

namespace TDInvoice::Report {

// A font as one page's text is set in it: the recorded font and the font at the target size
// on the target device, with the texts shaped in it so far.
struct TTargetFont {
  TFontSpec spec;
  int recordDpiX = 0, recordDpiY = 0, targetPixels = 0, deviceDpiX = 0, deviceDpiY = 0;
  QFont font;
  QFontMetricsF metrics;
  // The font the page was laid out with, at the recording resolution.
  QFontMetricsF recorded;
  struct TShaped {
    double recorded = 0; // width at the recording resolution
    double natural = 0;  // width at the target
    // The glyphs at the target, placed from the text's top left corner.
    QList<QGlyphRun> runs;
  };
  QHash<QString, TShaped> texts;
};

struct TReplayCache::TData {
  // Past this many shaped texts the cache starts afresh, so that its memory stays flat
  // however many pages pass through it.
  static constexpr int kMaxTexts = 4096;
  std::deque<TTargetFont> fonts;
  int textCount = 0;
};

TReplayCache::TReplayCache() : m_data(std::make_unique<TData>()) {}
TReplayCache::~TReplayCache() = default;

namespace {

class Player {
public:
  Player(QPainter &painter, const TMetaPage &page, const QRectF &target, TReplayCache &cache)
      : m_painter(painter), m_base(painter.transform()), m_origin(target.topLeft()),
        m_cache(cache.data()), m_recordDpiX(page.dpiX()), m_recordDpiY(page.dpiY()) {
    m_sx = page.size().width() > 0 ? target.width() / page.size().width() : 1.0;
    m_sy = page.size().height() > 0 ? target.height() / page.size().height() : 1.0;
    m_page = QTransform(m_sx, 0, 0, m_sy, target.x(), target.y()) * m_base;
    m_targetDpiY = page.dpiY() * m_sy;
    // Only between pages: the fonts of the page being drawn stay where they are.
    if (m_cache.textCount > TReplayCache::TData::kMaxTexts) {
      m_cache.fonts.clear();
      m_cache.textCount = 0;
    }
  }

  void operator()(const TMetaFillRect &e) {
    if (!e.brush.solid)
      return;
    onPage();
    m_painter.fillRect(QRectF(e.rect), QColor::fromRgb(e.brush.color));
  }
  void operator()(const TMetaRectangle &e) {
    onPage();
    setPenAndBrush(e.pen, e.brush);
    m_painter.drawRect(outlineRect(e.rect, e.pen));
  }
  void operator()(const TMetaEllipse &e) {
    onPage();
    setPenAndBrush(e.pen, e.brush);
    m_painter.drawEllipse(outlineRect(e.rect, e.pen));
  }
  void operator()(const TMetaLine &e) {
    if (e.pen.style == Qt::NoPen)
      return;
    onPage();
    m_painter.setPen(pen(e.pen));
    // Device units name pixels: an odd-width line runs through their centres, an even-width
    // one along their edges, so that either covers whole pixels.
    const double centre = std::max(1, e.pen.width) % 2 == 1 ? 0.5 : 0.0;
    const QPointF offset(centre, centre);
    m_painter.drawLine(QPointF(e.from) + offset, QPointF(e.to) + offset);
  }
  void operator()(const TMetaText &e) { drawText(e); }
  void operator()(const TMetaImage &e) {
    if (e.image.isNull())
      return;
    onPage();
    m_painter.drawImage(QRectF(e.rect), e.image);
  }
  void operator()(const TMetaPicture &e) {
    if (e.svg.isEmpty())
      return;
    onPage();
    // A picture sets only the font properties it names; underline, kerning and the like
    // must not carry over from the last text run.
    m_painter.save();
    m_painter.setFont(QFont());
    drawSvgPicture(m_painter, e.svg, QRectF(e.rect));
    m_painter.restore();
  }
  void operator()(const TMetaClip &e) {
    // A clip replaces the previous one; the saved state outside it is the unclipped page.
    if (m_clipped)
      m_painter.restore();
    m_clipped = e.on;
    if (!e.on)
      return;
    m_painter.save();
    onPage();
    m_painter.setClipRect(QRectF(e.rect), Qt::IntersectClip);
  }
  void finish() {
    if (m_clipped)
      m_painter.restore();
    m_clipped = false;
  }

private:
  void onPage() { m_painter.setTransform(m_page); }

  QPen pen(const TPenSpec &spec) const {
    QPen pen(QColor::fromRgb(spec.color));
    pen.setStyle(spec.style);
    // Pen widths are device units of the page: they grow and shrink with it.
    pen.setWidthF(std::max(1, spec.width));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
  }
  void setPenAndBrush(const TPenSpec &penSpec, const TBrushSpec &brush) {
    m_painter.setPen(penSpec.style == Qt::NoPen ? QPen(Qt::NoPen) : pen(penSpec));
    m_painter.setBrush(brush.solid ? QBrush(QColor::fromRgb(brush.color)) : QBrush(Qt::NoBrush));
  }
  // The outline is drawn inside the rectangle, as the platform draws it.
  static QRectF outlineRect(const QRect &r, const TPenSpec &pen) {
    const double inset = pen.style == Qt::NoPen ? 0.0 : std::max(1, pen.width) / 2.0;
    return QRectF(r).adjusted(inset, inset, -inset, -inset);
  }

  // Pages use a handful of fonts; each is resolved once for as long as the cache keeps it.
  TTargetFont &targetFont(const TFontSpec &spec) {
    const int pixels =
        std::max(1, static_cast<int>(std::lround(spec.pointSize * m_targetDpiY / 72.0)));
    QPaintDevice *device = m_painter.device();
    const int deviceDpiX = device ? device->logicalDpiX() : 0;
    const int deviceDpiY = device ? device->logicalDpiY() : 0;
    for (TTargetFont &known : m_cache.fonts)
      if (known.targetPixels == pixels && known.recordDpiX == m_recordDpiX &&
          known.recordDpiY == m_recordDpiY && known.deviceDpiX == deviceDpiX &&
          known.deviceDpiY == deviceDpiY && known.spec == spec)
        return known;
    const QFont font = fontAtResolution(spec, m_targetDpiY);
    const QFont recorded = fontAtResolution(spec, m_recordDpiY);
    QImage recordDevice(1, 1, QImage::Format_RGB32);
    recordDevice.setDotsPerMeterX(static_cast<int>(std::lround(m_recordDpiX / 0.0254)));
    recordDevice.setDotsPerMeterY(static_cast<int>(std::lround(m_recordDpiY / 0.0254)));
    m_cache.fonts.push_back({spec,
                             m_recordDpiX,
                             m_recordDpiY,
                             pixels,
                             deviceDpiX,
                             deviceDpiY,
                             font,
                             QFontMetricsF(font, device),
                             QFontMetricsF(recorded, &recordDevice),
                             {}});
    return m_cache.fonts.back();
  }

  // Most of a page's words recur on every page: each is shaped once, as the painter would
  // shape it for drawText, and its glyphs are drawn from then on.
  const TTargetFont::TShaped &shapedText(TTargetFont &font, const QString &text) {
    const auto known = font.texts.constFind(text);
    if (known != font.texts.constEnd())
      return *known;
    TTargetFont::TShaped shaped{
        font.recorded.horizontalAdvance(text), font.metrics.horizontalAdvance(text), {}};
    QTextLayout layout(text, font.font, m_painter.device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.isValid())
      shaped.runs = line.glyphRuns();
    ++m_cache.textCount;
    return *font.texts.insert(text, std::move(shaped));
  }

  void drawText(const TMetaText &e) {
    if (e.text.isEmpty())
      return;
    // Text is set in painter coordinates with a font sized for the target, so glyphs are
    // hinted for the output rather than stretched from the recording resolution.
    m_painter.setTransform(m_base);
    TTargetFont &font = targetFont(e.font);
    // Hinting makes a font's width at the target differ from its width at the recording
    // resolution by a few per cent. Runs of rich text and autosized boxes were placed by the
    // recorded width, so the text keeps it: it is scaled across to that width.
    const TTargetFont::TShaped &shaped = shapedText(font, e.text);
    const double laidOut = shaped.recorded * m_sx;
    const double natural = shaped.natural;
    QPointF at(m_origin.x() + e.anchor.x() * m_sx, m_origin.y() + e.anchor.y() * m_sy);
    if (e.align == TTextAlign::Right)
      at.rx() -= laidOut;
    else if (e.align == TTextAlign::Center)
      at.rx() -= laidOut / 2;
    m_painter.setPen(QColor::fromRgb(e.font.color));
    m_painter.translate(at);
    if (natural > 0 && std::abs(laidOut - natural) > 0.01)
      m_painter.scale(laidOut / natural, 1);
    if (e.font.underline || e.font.strikeOut) {
      // Qt draws a glyph run's underline and strike-out offset by the painter's translation, so
      // decorated text is set by drawText, shaped each time.
      m_painter.setFont(font.font);
      m_painter.drawText(QPointF(0, font.metrics.ascent()), e.text);
      return;
    }
    for (const QGlyphRun &run : shaped.runs)
      m_painter.drawGlyphRun(QPointF(0, 0), run);
  }

  QPainter &m_painter;
  QTransform m_base;
  QTransform m_page;
  QPointF m_origin;
  TReplayCache::TData &m_cache;
  int m_recordDpiX = 96, m_recordDpiY = 96;
  double m_sx = 1, m_sy = 1, m_targetDpiY = 96;
  bool m_clipped = false;
};

} // namespace

void TMetaPage::replay(QPainter &painter, const QRectF &target, TReplayCache *cache) const {
  std::optional<TReplayCache> own;
  if (!cache)
    cache = &own.emplace();
  painter.save();
  Player player(painter, *this, target, *cache);
  for (const auto &element : m_elements)
    std::visit(player, element);
  player.finish();
  painter.restore();
}

} // namespace TDInvoice::Report
