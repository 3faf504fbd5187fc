// Decodes arbitrary bytes as a recorded page. The checksum is recomputed over the input
// first, so that mutations reach the element decoding behind it; a page that decodes is
// dumped, re-encoded (which must decode to the same page) and replayed.
#include "TDInvoice/Exceptions.h"
#include "report/output/MetaPage.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <zlib.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using namespace TDInvoice::Report;
  static int argc = 1;
  static char name[] = "fuzz_metapage_decode";
  static char *argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
  }
  QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  if (bytes.size() >= 8) {
    const qsizetype body = bytes.size() - 4;
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), static_cast<uInt>(body)));
    std::memcpy(bytes.data() + body, &crc, 4);
  }
  TMetaPage page;
  try {
    page = TMetaPage::decode(bytes);
  } catch (const TDInvoice::EReportError &) {
    return 0;
  }
  (void)pageToJson(page);
  if (!(TMetaPage::decode(page.encode()) == page))
    std::abort();
  QImage image(48, 48, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  page.replay(painter, QRectF(0, 0, 48, 48));
  return 0;
}
