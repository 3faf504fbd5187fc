#include "intake/PacketDecoder.h"

#include "TDInvoice/ShortStringList.h"
#include "intake/Base64Decoder.h"
#include "intake/RawInflater.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace TDInvoice::Intake {

QByteArray decodePacketText(QByteArrayView text) {
  const QByteArray compressed = decodeBase64(text);
  return inflateRaw(compressed);
}

QByteArray packetText(TShortStringList &packet) {
  if (packet.nameValuePairs()) {
    const std::string text = packet.Text();
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
  }
  // The text Text() gives, built in one buffer of the right size: a packet has thousands of
  // lines.
  const std::int32_t count = packet.Count();
  std::vector<qsizetype> lengths(static_cast<std::size_t>(count));
  qsizetype total = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const TStrZObj *item = packet.StrZ(i);
    lengths[static_cast<std::size_t>(i)] = static_cast<qsizetype>(
        strnlen(item->Data, static_cast<std::size_t>(std::max(item->Len, 0))));
    total += lengths[static_cast<std::size_t>(i)] + 2;
  }
  QByteArray text(total, Qt::Uninitialized);
  char *out = text.data();
  for (std::int32_t i = 0; i < count; ++i) {
    const qsizetype length = lengths[static_cast<std::size_t>(i)];
    std::memcpy(out, packet.StrZ(i)->Data, static_cast<std::size_t>(length));
    out += length;
    *out++ = '\r';
    *out++ = '\n';
  }
  return text;
}

QByteArray decodePacket(TShortStringList &packet) {
  // The Base64 bytes take the place of the text in its own buffer, which goes as soon as the
  // inflated bytes exist.
  QByteArray buffer = packetText(packet);
  decodeBase64InPlace(buffer);
  return inflateRaw(buffer);
}

} // namespace TDInvoice::Intake
