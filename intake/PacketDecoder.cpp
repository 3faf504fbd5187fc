#include "intake/PacketDecoder.h"

#include "TDInvoice/ShortStringList.h"
#include "intake/Base64Decoder.h"
#include "intake/RawInflater.h"

namespace TDInvoice::Intake {

QByteArray decodePacketText(QByteArrayView text) {
  const QByteArray compressed = decodeBase64(text);
  return inflateRaw(compressed);
}

QByteArray decodePacket(TShortStringList &packet) {
  QByteArray compressed;
  {
    // Each stage's buffer goes as soon as the next one exists.
    const std::string text = packet.Text();
    compressed = decodeBase64(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  }
  return inflateRaw(compressed);
}

} // namespace TDInvoice::Intake
