// The BPAY mark drawn as filled shapes: the vector source from which the slip's two-colour
// bitmap is made. No font is involved, so the mark renders the same at any size.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QSize>

#include <vector>

class QPainter;

namespace TDInvoice::Artwork {

// The scheme's dark blue, red 0, green 43, blue 105.
inline constexpr QRgb kDarkBlue = 0xff002b69;
inline constexpr QRgb kWhite = 0xffffffff;

// The mark's design grid: one unit is one pixel of the slip's bitmap.
inline constexpr QSize kBpayLogoSize{135, 206};

// One filled area of the mark. Shapes are painted in list order, later ones over earlier ones
// (a letter's counter is a dark shape over the white letter).
struct TLogoShape {
  QPainterPath path;
  QRgb colour;
};

// The mark on its design grid, background first.
const std::vector<TLogoShape> &bpayLogoShapes();

// Paints the mark stretched into target.
void paintBpayLogo(QPainter &painter, const QRectF &target);

// The mark rendered anti-aliased at any size (previews, zoomed output).
QImage renderBpayLogo(const QSize &size);

// A rendering reduced to the mark's two colours: each pixel takes the colour that covers
// most of it. The result is a 1-bit image with the colour table {dark blue, white}.
QImage toTwoColours(const QImage &rendering);

// The vector source as an SVG document on the design grid, one path per shape.
QByteArray bpayLogoSvg();

} // namespace TDInvoice::Artwork
