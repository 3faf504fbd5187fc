// Writes PNG previews of the BPAY artwork for a person to look at: the logo bitmap as printed
// and enlarged, the vector mark, each SVG picture, and the whole BPAY block of the slip as it
// sits on the page. Usage: artwork_preview [output folder]; the default is the working folder.
#include "invoice/artwork/Artwork.h"
#include "invoice/artwork/BpayLogo.h"

#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

using namespace TDInvoice::Artwork;

QImage renderSvg(const QByteArray &svg, qreal pixelsPerUnit) {
  QSvgRenderer renderer(svg);
  const QSizeF size = renderer.viewBoxF().size() * pixelsPerUnit;
  QImage image(size.toSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  return image;
}

// The BPAY block of the slip at 600 dpi, boxes at their places in millimetres from the band's
// top left corner; the preview starts 12 mm down the band.
QImage renderSlipBlock() {
  constexpr qreal dpi = 600;
  const auto box = [](qreal left, qreal top, qreal width, qreal height) {
    const qreal dots = dpi / 25.4;
    return QRectF(left * dots, (top - 12) * dots, width * dots, height * dots);
  };
  const auto at = [&box](qreal left, qreal top) { return box(left, top, 0, 0).topLeft(); };
  QImage image(box(0, 12, 72, 38).size().toSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor blue = QColor::fromRgb(kDarkBlue);
  painter.setPen(QPen(blue, 2));
  painter.drawRect(box(0.3, 13.2, 68.8, 31.5));
  painter.drawImage(box(2.6, 15.3, 9.0, 13.8), bpayLogo());
  painter.setBrush(Qt::white);
  painter.drawRect(box(13.2, 15.6, 52.7, 13.5));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(qRound(10 * dpi / 72));
  painter.setFont(font);
  const qreal ascent = QFontMetricsF(font).ascent();
  painter.drawText(at(15.6, 18.0) + QPointF(0, ascent), QStringLiteral("Biller Code:"));
  painter.drawText(at(15.6, 22.8) + QPointF(0, ascent), QStringLiteral("Ref:"));
  font.setPixelSize(qRound(9 * dpi / 72));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::red);
  painter.drawText(at(34.7, 18.3) + QPointF(0, ascent), QStringLiteral("123456"));
  painter.drawText(at(24.1, 23.0) + QPointF(0, ascent), QStringLiteral("1000 2000 3"));
  QSvgRenderer(bpayInstructionsSvg()).render(&painter, box(2.6, 29.6, 63.2, 14.0));
  QSvgRenderer(bpayTrademarkSvg()).render(&painter, box(2.6, 45.2, 57.1, 3.2));
  return image;
}

bool save(const QImage &image, const QDir &folder, const QString &name) {
  const QString path = folder.filePath(name);
  const bool saved = image.save(path);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
  return saved;
}

} // namespace

int main(int argc, char **argv) {
  QGuiApplication application(argc, argv);
  const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
  if (!folder.exists() && !QDir().mkpath(folder.path()))
    return 1;
  const QImage logo = bpayLogo();
  bool ok = save(logo, folder, QStringLiteral("bpay-logo.png"));
  ok &= save(logo.scaled(logo.size() * 4), folder, QStringLiteral("bpay-logo-pixels-x4.png"));
  ok &= save(renderBpayLogo(kBpayLogoSize * 4), folder, QStringLiteral("bpay-logo-vector-x4.png"));
  ok &= save(renderSvg(bpayInstructionsSvg(), 8), folder, QStringLiteral("bpay-instructions.png"));
  ok &= save(renderSvg(bpayInstructionsCcSvg(), 8), folder,
             QStringLiteral("bpay-instructions-cc.png"));
  ok &= save(renderSvg(bpayTrademarkSvg(), 8), folder, QStringLiteral("bpay-trademark.png"));
  ok &= save(renderSlipBlock(), folder, QStringLiteral("bpay-slip-block.png"));
  return ok ? 0 : 1;
}
