#include "invoice/artwork/Artwork.h"

#include "invoice/artwork/BpayLogo.h"

#include <QFile>
#include <QStringView>

// The pictures live in a static library: their resource must be registered by name before
// first use, or the linker may leave it out. Q_INIT_RESOURCE must sit outside any namespace.
static void initialiseArtworkResources() { Q_INIT_RESOURCE(artwork); }

namespace TDInvoice::Artwork {
namespace {

QByteArray resource(const char *path) {
  static const bool initialised = (initialiseArtworkResources(), true);
  Q_UNUSED(initialised);
  QFile file(QString::fromLatin1(path));
  // The files are compiled in, so this fails only in a broken build; the slip then prints an
  // empty box rather than taking the host down.
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return file.readAll();
}

} // namespace

QImage bpayLogo() {
  static const QImage logo = toTwoColours(renderBpayLogo(kBpayLogoSize));
  return logo;
}

QByteArray bpayInstructionsSvg() {
  static const QByteArray svg = resource(":/artwork/bpay-instructions.svg");
  return svg;
}

QByteArray bpayInstructionsCcSvg() {
  static const QByteArray svg = resource(":/artwork/bpay-instructions-cc.svg");
  return svg;
}

QByteArray bpayTrademarkSvg() {
  static const QByteArray svg = resource(":/artwork/bpay-trademark.svg");
  return svg;
}

std::optional<TPicture> pictureByName(const QString &name) {
  if (name == QLatin1String("bpay-logo"))
    return TPicture{bpayLogo(), bpayLogoSvg()};
  if (name == QLatin1String("bpay-instructions"))
    return TPicture{QImage(), bpayInstructionsSvg()};
  if (name == QLatin1String("bpay-instructions-cc"))
    return TPicture{QImage(), bpayInstructionsCcSvg()};
  if (name == QLatin1String("bpay-trademark"))
    return TPicture{QImage(), bpayTrademarkSvg()};
  return std::nullopt;
}

} // namespace TDInvoice::Artwork
