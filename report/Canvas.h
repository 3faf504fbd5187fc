// The drawing surface of a page, in device units. Printables draw through it; the output
// device records what is drawn as a vector page (or plays it onto a printer), so text stays
// text on every output.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPaintDevice;

namespace TDInvoice::Report {

struct TFontSpec {
  QString family = QStringLiteral("Arial");
  double pointSize = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  QRgb color = qRgb(0, 0, 0);
  bool operator==(const TFontSpec &) const = default;
};

struct TPenSpec {
  QRgb color = qRgb(0, 0, 0);
  int width = 1; // device units, never scaled
  Qt::PenStyle style = Qt::SolidLine;
  bool operator==(const TPenSpec &) const = default;
};

struct TBrushSpec {
  QRgb color = qRgb(255, 255, 255);
  bool solid = true; // false: a clear brush, nothing is filled
  bool operator==(const TBrushSpec &) const = default;
};

enum class TTextAlign { Left, Right, Center };

// The Qt font of spec on a device of dpiY dots per inch: its pixel height is the point size
// scaled to the device and rounded, as the platform sizes fonts; no kerning, full hinting.
QFont fontAtResolution(const TFontSpec &spec, double dpiY);

class TCanvas {
public:
  virtual ~TCanvas() = default;

  // Device units per inch.
  virtual int dpiX() const = 0;
  virtual int dpiY() const = 0;

  // A device at this canvas's resolution to measure text on.
  virtual QPaintDevice *measureDevice() = 0;

  TFontSpec Font;
  TPenSpec Pen;
  TBrushSpec Brush;

  // Fills r with Brush, no outline (right and bottom edges excluded, as the platform fills).
  virtual void fillRect(const QRect &r) = 0;
  // Outlines r with Pen and fills its inside with Brush.
  virtual void rectangle(const QRect &r) = 0;
  virtual void ellipse(const QRect &r) = 0;
  virtual void line(const QPoint &from, const QPoint &to) = 0;
  // Draws text in Font on a transparent background. y is the top of the text cell; x is
  // the left edge, the right edge or the centre of the text, by align.
  virtual void textOut(int x, int y, const QString &text, TTextAlign align = TTextAlign::Left) = 0;
  // Pictures are drawn scaled into target.
  virtual void drawImage(const QRect &target, const QImage &image) = 0;
  virtual void drawPicture(const QRect &target, const QByteArray &svg) = 0;
  virtual void setClipRect(const QRect &r) = 0;
  virtual void clearClip() = 0;

  // The Qt font of spec at this canvas's resolution.
  QFont qfont(const TFontSpec &spec) const;
  // Width and height of text in Font, in device units.
  QSize textExtent(const QString &text);
};

} // namespace TDInvoice::Report
