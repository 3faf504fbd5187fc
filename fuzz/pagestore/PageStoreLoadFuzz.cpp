// Loads arbitrary bytes as a page store; a store that loads has every page fetched, dumped
// and replayed onto a small image.
#include "TDInvoice/Exceptions.h"
#include "report/output/MetaPage.h"
#include "report/output/ReportPageList.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>

namespace {

void ensureApplication() {
  static int argc = 1;
  static char name[] = "fuzz_pagestore_load";
  static char *argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using namespace TDInvoice::Report;
  ensureApplication();
  QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  TReportPageList store;
  try {
    store.loadFromDevice(buffer);
  } catch (const TDInvoice::EReportError &) {
    if (store.pageCount() != 0)
      std::abort(); // a failed load must leave the store empty
    return 0;
  }
  QImage image(64, 64, QImage::Format_RGB32);
  for (int n = store.pageCount(); n >= 1; --n) {
    const auto page = store.getPage(n);
    if (!page)
      std::abort(); // every page of a loaded store is readable
    (void)pageToJson(*page);
    image.fill(Qt::white);
    QPainter painter(&image);
    page->replay(painter, QRectF(0, 0, 64, 64));
  }
  return 0;
}
