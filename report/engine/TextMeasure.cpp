#include "report/engine/TextMeasure.h"

#include "TDInvoice/Exceptions.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace TDInvoice::Report {

namespace {

bool canMeasure() { return qobject_cast<QGuiApplication *>(QCoreApplication::instance()); }

QImage &referenceDevice() {
  static QImage device = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(TTextMeasure::kPixelsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
  }();
  return device;
}

bool sameMetrics(const TFontSpec &a, const TFontSpec &b) {
  // The colour does not change how text measures.
  return a.pointSize == b.pointSize && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.strikeOut == b.strikeOut && a.family == b.family;
}

// Metrics per font, built once: labels measure many substrings while they wrap, and a
// report uses a handful of fonts. The widths measured are kept too, since every invoice
// measures the same captions, dates and amounts again.
struct TFontEntry {
  TFontSpec spec;
  std::unique_ptr<QFontMetrics> metrics;
  QHash<QString, int> widths;
};

std::vector<TFontEntry> &fontCache() {
  static std::vector<TFontEntry> cache;
  return cache;
}

TFontEntry &entryOf(const TFontSpec &spec) {
  std::vector<TFontEntry> &cache = fontCache();
  for (TFontEntry &entry : cache)
    if (sameMetrics(entry.spec, spec))
      return entry;
  cache.push_back(
      {spec, std::make_unique<QFontMetrics>(TTextMeasure::font(spec), &referenceDevice()), {}});
  return cache.back();
}

const QFontMetrics &metricsOf(const TFontSpec &spec) { return *entryOf(spec).metrics; }

// Past this many kept widths they are all let go, so that the memory stays flat however
// many invoices are measured.
constexpr int kMaxKeptWidths = 8192;
int gKeptWidths = 0;

int measuredWidth(const TFontSpec &spec, const QString &text) {
  TFontEntry &entry = entryOf(spec);
  const auto known = entry.widths.constFind(text);
  if (known != entry.widths.constEnd())
    return *known;
  if (gKeptWidths >= kMaxKeptWidths) {
    for (TFontEntry &other : fontCache())
      other.widths.clear();
    gKeptWidths = 0;
  }
  const int width = entry.metrics->horizontalAdvance(text);
  entry.widths.insert(text, width);
  ++gKeptWidths;
  return width;
}

struct TSubstitutes {
  const char *family;
  std::array<const char *, 3> accepted;
};

// The layouts' families and the fonts that share their metrics.
constexpr std::array<TSubstitutes, 3> kSubstitutes{{
    {"Arial", {"Arial", "Liberation Sans", "Arimo"}},
    {"Times New Roman", {"Times New Roman", "Liberation Serif", "Tinos"}},
    {"Courier New", {"Courier New", "Liberation Mono", "Cousine"}},
}};

} // namespace

bool TTextMeasure::available() { return canMeasure(); }

QFont TTextMeasure::font(const TFontSpec &spec) { return fontAtResolution(spec, kPixelsPerInch); }

int TTextMeasure::textWidth(const TFontSpec &spec, const QString &text) {
  if (!canMeasure())
    return 0;
  return measuredWidth(spec, text) + 1;
}

int TTextMeasure::textHeight(const TFontSpec &spec) {
  if (!canMeasure())
    return 0;
  return metricsOf(spec).height();
}

int TTextMeasure::canvasLineHeight(TCanvas &canvas, const TFontSpec &spec) {
  struct TEntry {
    TFontSpec spec;
    int dpiY;
    int height;
  };
  static std::vector<TEntry> cache;
  const int dpiY = canvas.dpiY();
  for (const TEntry &entry : cache)
    if (entry.dpiY == dpiY && sameMetrics(entry.spec, spec))
      return entry.height;
  const TFontSpec previous = canvas.Font;
  canvas.Font = spec;
  const int height = canvas.textExtent(QStringLiteral("W")).height();
  canvas.Font = previous;
  cache.push_back({spec, dpiY, height});
  return height;
}

QString TTextMeasure::resolvedFamily(const QString &family) {
  if (!canMeasure())
    return {};
  return QFontInfo(QFont(family)).family();
}

void TTextMeasure::checkFamily(const QString &family) {
  if (!canMeasure())
    throw EReportError("Fonts cannot be measured without a GUI application");
  const QString resolved = resolvedFamily(family);
  for (const TSubstitutes &entry : kSubstitutes) {
    if (family.compare(QLatin1String(entry.family), Qt::CaseInsensitive) != 0)
      continue;
    for (const char *accepted : entry.accepted)
      if (resolved.compare(QLatin1String(accepted), Qt::CaseInsensitive) == 0)
        return;
    throw EReportError(QStringLiteral("Font \"%1\" is not installed and no metric-compatible "
                                      "font replaces it (found \"%2\")")
                           .arg(family, resolved)
                           .toStdString());
  }
  if (resolved.compare(family, Qt::CaseInsensitive) != 0)
    throw EReportError(QStringLiteral("Font \"%1\" is not installed (found \"%2\")")
                           .arg(family, resolved)
                           .toStdString());
}

} // namespace TDInvoice::Report
