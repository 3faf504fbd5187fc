#include "report/output/MetaPage.h"

#include "report/output/ByteIO.h"

#include <QBuffer>
#include <QImageReader>
#include <zlib.h>

namespace TDInvoice::Report {

namespace {

enum class Kind : std::uint8_t {
  FillRect = 1,
  Rectangle,
  Ellipse,
  Line,
  Text,
  Image,
  Picture,
  Clip
};

// Bounds a decoded page must keep so that replaying it cannot ask for absurd allocations.
constexpr int kMaxDimension = 1000000;
constexpr int kMaxCoordinate = 10000000; // keeps x + width inside int

bool coordinateInRange(int v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; }

constexpr int kMaxDpi = 100000;
constexpr int kMaxImageSide = 30000;

constexpr const char *kWhat = "Invalid report page";

void putRect(TByteWriter &w, const QRect &r) {
  w.i32(r.x());
  w.i32(r.y());
  w.i32(r.width());
  w.i32(r.height());
}
void putPoint(TByteWriter &w, const QPoint &p) {
  w.i32(p.x());
  w.i32(p.y());
}
void putPen(TByteWriter &w, const TPenSpec &pen) {
  w.u32(pen.color);
  w.i32(pen.width);
  w.u8(static_cast<std::uint8_t>(pen.style));
}
void putBrush(TByteWriter &w, const TBrushSpec &brush) {
  w.u32(brush.color);
  w.u8(brush.solid ? 1 : 0);
}
void putFont(TByteWriter &w, const TFontSpec &font) {
  w.string(font.family);
  w.f64(font.pointSize);
  w.u8((font.bold ? 1 : 0) | (font.italic ? 2 : 0) | (font.underline ? 4 : 0) |
       (font.strikeOut ? 8 : 0));
  w.u32(font.color);
}
QByteArray pngOf(const QImage &image) {
  QByteArray png;
  if (image.isNull())
    return png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

QRect getRect(TByteReader &r) {
  const int x = r.i32(), y = r.i32(), w = r.i32(), h = r.i32();
  if (!coordinateInRange(x) || !coordinateInRange(y) || w < 0 || h < 0 || w > kMaxDimension ||
      h > kMaxDimension)
    r.fail("rectangle out of range");
  return {x, y, w, h};
}
QPoint getPoint(TByteReader &r) {
  const int x = r.i32(), y = r.i32();
  if (!coordinateInRange(x) || !coordinateInRange(y))
    r.fail("point out of range");
  return {x, y};
}
TPenSpec getPen(TByteReader &r) {
  TPenSpec pen;
  pen.color = r.u32();
  pen.width = r.i32();
  const auto style = r.u8();
  if (pen.width < 0 || pen.width > kMaxDimension || style > Qt::DashDotDotLine)
    r.fail("bad pen");
  pen.style = static_cast<Qt::PenStyle>(style);
  return pen;
}
TBrushSpec getBrush(TByteReader &r) {
  TBrushSpec brush;
  brush.color = r.u32();
  const auto solid = r.u8();
  if (solid > 1)
    r.fail("bad brush");
  brush.solid = solid == 1;
  return brush;
}
TFontSpec getFont(TByteReader &r) {
  TFontSpec font;
  font.family = r.string();
  font.pointSize = r.f64();
  const auto flags = r.u8();
  if (!(font.pointSize > 0 && font.pointSize <= 10000) || flags > 15)
    r.fail("bad font");
  font.bold = flags & 1;
  font.italic = flags & 2;
  font.underline = flags & 4;
  font.strikeOut = flags & 8;
  font.color = r.u32();
  return font;
}
// PNG keeps the pixels; the format byte restores the image's own pixel format.
QImage getImage(TByteReader &r) {
  const auto format = r.u8();
  const QByteArray png = r.bytes();
  if (format >= QImage::NImageFormats || (png.isEmpty() != (format == QImage::Format_Invalid)))
    r.fail("bad image");
  if (png.isEmpty())
    return {};
  QBuffer buffer;
  buffer.setData(png);
  QImageReader reader(&buffer, "PNG");
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > kMaxImageSide || size.height() > kMaxImageSide)
    r.fail("bad image");
  QImage image = reader.read();
  if (image.isNull())
    r.fail("bad image");
  const auto wanted = static_cast<QImage::Format>(format);
  return image.format() == wanted ? image : image.convertToFormat(wanted);
}

struct Encoder {
  TByteWriter &w;
  void operator()(const TMetaFillRect &e) {
    w.u8(std::uint8_t(Kind::FillRect));
    putRect(w, e.rect);
    putBrush(w, e.brush);
  }
  void operator()(const TMetaRectangle &e) {
    w.u8(std::uint8_t(Kind::Rectangle));
    putRect(w, e.rect);
    putPen(w, e.pen);
    putBrush(w, e.brush);
  }
  void operator()(const TMetaEllipse &e) {
    w.u8(std::uint8_t(Kind::Ellipse));
    putRect(w, e.rect);
    putPen(w, e.pen);
    putBrush(w, e.brush);
  }
  void operator()(const TMetaLine &e) {
    w.u8(std::uint8_t(Kind::Line));
    putPoint(w, e.from);
    putPoint(w, e.to);
    putPen(w, e.pen);
  }
  void operator()(const TMetaText &e) {
    w.u8(std::uint8_t(Kind::Text));
    putPoint(w, e.anchor);
    w.u8(static_cast<std::uint8_t>(e.align));
    putFont(w, e.font);
    w.string(e.text);
  }
  void operator()(const TMetaImage &e) {
    w.u8(std::uint8_t(Kind::Image));
    putRect(w, e.rect);
    w.u8(static_cast<std::uint8_t>(e.image.format()));
    w.bytes(pngOf(e.image));
  }
  void operator()(const TMetaPicture &e) {
    w.u8(std::uint8_t(Kind::Picture));
    putRect(w, e.rect);
    w.bytes(e.svg);
  }
  void operator()(const TMetaClip &e) {
    w.u8(std::uint8_t(Kind::Clip));
    w.u8(e.on ? 1 : 0);
    putRect(w, e.rect);
  }
};

TMetaElement decodeElement(TByteReader &r) {
  const auto kind = static_cast<Kind>(r.u8());
  switch (kind) {
  case Kind::FillRect: {
    const QRect rect = getRect(r);
    return TMetaFillRect{rect, getBrush(r)};
  }
  case Kind::Rectangle:
  case Kind::Ellipse: {
    const QRect rect = getRect(r);
    const TPenSpec pen = getPen(r);
    const TBrushSpec brush = getBrush(r);
    if (kind == Kind::Rectangle)
      return TMetaRectangle{rect, pen, brush};
    return TMetaEllipse{rect, pen, brush};
  }
  case Kind::Line: {
    const QPoint from = getPoint(r);
    const QPoint to = getPoint(r);
    return TMetaLine{from, to, getPen(r)};
  }
  case Kind::Text: {
    const QPoint anchor = getPoint(r);
    const auto align = r.u8();
    if (align > static_cast<std::uint8_t>(TTextAlign::Center))
      r.fail("bad text alignment");
    TFontSpec font = getFont(r);
    return TMetaText{anchor, static_cast<TTextAlign>(align), std::move(font), r.string()};
  }
  case Kind::Image: {
    const QRect rect = getRect(r);
    return TMetaImage{rect, getImage(r)};
  }
  case Kind::Picture: {
    const QRect rect = getRect(r);
    return TMetaPicture{rect, r.bytes()};
  }
  case Kind::Clip: {
    const auto on = r.u8();
    if (on > 1)
      r.fail("bad clip");
    return TMetaClip{on == 1, getRect(r)};
  }
  }
  r.fail("unknown element");
}

[[gnu::noinline]] const char *bytesOf(const QByteArray &bytes) { return bytes.constData(); }

std::uint32_t checksum(const char *data, qint64 size) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef *>(data), static_cast<uInt>(size)));
}

} // namespace

TMetaPage::TMetaPage(QSize size, int dpiX, int dpiY) : m_size(size), m_dpiX(dpiX), m_dpiY(dpiY) {}

QSizeF TMetaPage::sizeMM() const {
  return {m_size.width() * 25.4 / m_dpiX, m_size.height() * 25.4 / m_dpiY};
}

bool TMetaPage::hasSignature(const char *data, qint64 size) {
  return size >= 4 && std::memcmp(data, kMagic, 4) == 0;
}

// Layout: magic, version (16-bit), 16 reserved bits, width, height, dpi x, dpi y, element
// count, the elements (a kind byte and its fields), then a CRC-32 of everything before it.
QByteArray TMetaPage::encode() const {
  QByteArray out;
  out.reserve(64 + static_cast<qsizetype>(m_elements.size()) * 48);
  TByteWriter w(out);
  out.append(kMagic, 4);
  w.u16(kVersion);
  w.u16(0);
  w.i32(m_size.width());
  w.i32(m_size.height());
  w.i32(m_dpiX);
  w.i32(m_dpiY);
  w.u32(static_cast<std::uint32_t>(m_elements.size()));
  Encoder encoder{w};
  for (const auto &element : m_elements)
    std::visit(encoder, element);
  w.u32(checksum(out.constData(), out.size()));
  return out;
}

TMetaPage TMetaPage::decode(const QByteArray &bytes) {
  // Read through a pointer the optimiser cannot trace to QByteArray's shared empty buffer,
  // which otherwise draws a false out-of-bounds warning from GCC.
  const char *data = bytesOf(bytes);
  const qint64 size = bytes.size();
  if (!hasSignature(data, size))
    throw EReportError("Invalid report page: not a recorded page");
  if (size < 32)
    throw EReportError("Invalid report page: unexpected end of data");
  const qint64 body = size - 4;
  if (readU32(bytes, body) != checksum(data, body))
    throw EReportError("Invalid report page: checksum mismatch");
  TByteReader r(data + 4, body - 4, kWhat);
  if (r.u16() != kVersion)
    r.fail("unsupported version");
  if (r.u16() != 0)
    r.fail("bad reserved field");
  const int width = r.i32(), height = r.i32(), dpiX = r.i32(), dpiY = r.i32();
  if (width < 0 || height < 0 || width > kMaxDimension || height > kMaxDimension || dpiX <= 0 ||
      dpiY <= 0 || dpiX > kMaxDpi || dpiY > kMaxDpi)
    r.fail("bad page size or resolution");
  const std::uint32_t count = r.u32();
  if (count > static_cast<std::uint64_t>(r.remaining()))
    r.fail("element count runs past the end");
  TMetaPage page(QSize(width, height), dpiX, dpiY);
  page.m_elements.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i)
    page.m_elements.push_back(decodeElement(r));
  if (r.remaining() != 0)
    r.fail("trailing bytes");
  return page;
}

bool TMetaPage::operator==(const TMetaPage &other) const {
  return m_size == other.m_size && m_dpiX == other.m_dpiX && m_dpiY == other.m_dpiY &&
         m_elements == other.m_elements;
}

} // namespace TDInvoice::Report
