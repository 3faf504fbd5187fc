// Writes the fuzz seeds: small page stores of each layout the loader accepts.
#include "report/output/ByteIO.h"
#include "report/output/MetaPage.h"
#include "report/output/ReportPageList.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

using namespace TDInvoice::Report;

namespace {

TMetaPage samplePage(int n) {
  TMetaPage page(QSize(794, 1123), 96, 96);
  page.add(TMetaFillRect{QRect(10, 10, 100, 20), TBrushSpec{qRgb(230, 230, 230), true}});
  page.add(TMetaRectangle{QRect(10, 40, 100, 20), TPenSpec{}, TBrushSpec{qRgb(0, 0, 0), false}});
  page.add(TMetaEllipse{QRect(120, 40, 20, 20), TPenSpec{qRgb(0, 0, 255), 2}, TBrushSpec{}});
  page.add(TMetaLine{QPoint(10, 70), QPoint(700, 70), TPenSpec{qRgb(0, 0, 0), 1, Qt::DashLine}});
  page.add(TMetaClip{true, QRect(0, 0, 400, 400)});
  page.add(
      TMetaText{QPoint(20, 80), TTextAlign::Left, TFontSpec{}, QStringLiteral("Page %1").arg(n)});
  page.add(TMetaText{QPoint(700, 80), TTextAlign::Right,
                     TFontSpec{QStringLiteral("Times New Roman"), 12, true, true}, "Total"});
  page.add(TMetaClip{false, QRect()});
  QImage image(3, 2, QImage::Format_ARGB32);
  image.fill(qRgba(255, 0, 0, 128));
  page.add(TMetaImage{QRect(200, 200, 30, 20), image});
  page.add(TMetaPicture{QRect(300, 300, 20, 20),
                        "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'>"
                        "<rect width='4' height='4'/></svg>"});
  return page;
}

QByteArray store(int pages, bool compress) {
  TReportPageList list;
  list.setCompression(compress);
  for (int n = 1; n <= pages; ++n)
    list.addPage(samplePage(n));
  list.finish();
  const QString name = QDir::temp().filePath(QStringLiteral("seed.qrp"));
  list.saveToFile(name);
  QFile file(name);
  file.open(QIODevice::ReadOnly);
  const QByteArray bytes = file.readAll();
  file.remove();
  return bytes;
}

// The same store with the older 124-byte header: every stored position moves back by 4.
QByteArray oldHeader(const QByteArray &current) {
  QByteArray out = current.left(124);
  qint64 at = 128;
  while (at < current.size()) {
    const std::uint32_t number = readU32(current, at), next = readU32(current, at + 4);
    const std::uint32_t start = static_cast<std::uint32_t>(at - 4), moved = next - 4;
    out.append(reinterpret_cast<const char *>(&number), 4);
    out.append(reinterpret_cast<const char *>(&moved), 4);
    out.append(current.mid(at + 8, next - at - 12));
    out.append(reinterpret_cast<const char *>(&start), 4);
    at = next;
  }
  return out;
}

void write(const QString &folder, const char *name, const QByteArray &bytes) {
  QFile file(QDir(folder).filePath(name));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    std::fprintf(stderr, "cannot write %s\n", name);
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_pagestore_seeds <store folder> <page folder>\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  write(folder, "empty.qrp", store(0, false));
  write(folder, "one-page.qrp", store(1, false));
  write(folder, "three-pages.qrp", store(3, false));
  write(folder, "three-pages-compressed.qrp", store(3, true));
  write(folder, "old-header.qrp", oldHeader(store(2, false)));
  const QString pages = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(pages);
  write(pages, "sample.page", samplePage(1).encode());
  write(pages, "empty.page", TMetaPage(QSize(10, 10), 96, 96).encode());
  return 0;
}
