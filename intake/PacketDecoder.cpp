#include "intake/PacketDecoder.h"

#include "TDInvoice/ShortStringList.h"
#include "intake/Base64Decoder.h"
#include "intake/RawInflater.h"

namespace TDInvoice::Intake {

QByteArray decodePacketText(QByteArrayView text) {
  const QByteArray compressed = decodeBase64(text);
  return inflateRaw(compressed);
}

} // namespace TDInvoice::Intake
