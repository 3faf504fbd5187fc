// Replaying a recorded page onto any painter.
#include "report/output/MetaPage.h"
#include "report/output/SvgPicture.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QFont>
#include <QImage>
#include <cmath>
#include <deque>

namespace TDInvoice::Report {

namespace {

class Player {
public:
  Player(QPainter &painter, const TMetaPage &page, const QRectF &target)
      : m_painter(painter), m_base(painter.transform()), m_origin(target.topLeft()) {
    m_sx = page.size().width() > 0 ? target.width() / page.size().width() : 1.0;
    m_sy = page.size().height() > 0 ? target.height() / page.size().height() : 1.0;
    m_page = QTransform(m_sx, 0, 0, m_sy, target.x(), target.y()) * m_base;
    m_targetDpiY = page.dpiY() * m_sy;
    m_recordDpiY = page.dpiY();
    m_recordDevice = QImage(1, 1, QImage::Format_RGB32);
    m_recordDevice.setDotsPerMeterX(static_cast<int>(std::lround(page.dpiX() / 0.0254)));
    m_recordDevice.setDotsPerMeterY(static_cast<int>(std::lround(page.dpiY() / 0.0254)));
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

  struct TargetFont {
    TFontSpec spec;
    QFont font;
    QFontMetricsF metrics;
    // The font the page was laid out with, at the recording resolution.
    QFontMetricsF recorded;
  };

  // Pages use a handful of fonts; each is resolved once per replay.
  const TargetFont &targetFont(const TFontSpec &spec) {
    for (const TargetFont &known : m_fonts)
      if (known.spec == spec)
        return known;
    QFont font(spec.family);
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(spec.pointSize * m_targetDpiY / 72.0))));
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferFullHinting);
    QFont recorded = font;
    recorded.setPixelSize(
        std::max(1, static_cast<int>(std::lround(spec.pointSize * m_recordDpiY / 72.0))));
    m_fonts.push_back({spec, font, QFontMetricsF(font, m_painter.device()),
                       QFontMetricsF(recorded, &m_recordDevice)});
    return m_fonts.back();
  }

  void drawText(const TMetaText &e) {
    if (e.text.isEmpty())
      return;
    // Text is set in painter coordinates with a font sized for the target, so glyphs are
    // hinted for the output rather than stretched from the recording resolution.
    m_painter.setTransform(m_base);
    const TargetFont &font = targetFont(e.font);
    // Hinting makes a font's width at the target differ from its width at the recording
    // resolution by a few per cent. Runs of rich text and autosized boxes were placed by the
    // recorded width, so the text keeps it: it is scaled across to that width.
    const double laidOut = font.recorded.horizontalAdvance(e.text) * m_sx;
    const double natural = font.metrics.horizontalAdvance(e.text);
    QPointF at(m_origin.x() + e.anchor.x() * m_sx, m_origin.y() + e.anchor.y() * m_sy);
    if (e.align == TTextAlign::Right)
      at.rx() -= laidOut;
    else if (e.align == TTextAlign::Center)
      at.rx() -= laidOut / 2;
    m_painter.setFont(font.font);
    m_painter.setPen(QColor::fromRgb(e.font.color));
    const QPointF baseline(at.x(), at.y() + font.metrics.ascent());
    if (natural > 0 && std::abs(laidOut - natural) > 0.01) {
      m_painter.translate(baseline);
      m_painter.scale(laidOut / natural, 1);
      m_painter.drawText(QPointF(0, 0), e.text);
    } else {
      m_painter.drawText(baseline, e.text);
    }
  }

  QPainter &m_painter;
  QTransform m_base;
  QTransform m_page;
  QPointF m_origin;
  double m_sx = 1, m_sy = 1, m_targetDpiY = 96, m_recordDpiY = 96;
  QImage m_recordDevice;
  bool m_clipped = false;
  std::deque<TargetFont> m_fonts;
};

} // namespace

void TMetaPage::replay(QPainter &painter, const QRectF &target) const {
  painter.save();
  Player player(painter, *this, target);
  for (const auto &element : m_elements)
    std::visit(player, element);
  player.finish();
  painter.restore();
}

} // namespace TDInvoice::Report
