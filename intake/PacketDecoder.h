// Data packets: the host's answer to every query, a short-string list whose lines carry the
// Base64 text of a raw DEFLATE stream of a persisted recordset.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace TDInvoice {
class TShortStringList;
}

namespace TDInvoice::Intake {

// The packet's lines, each followed by CR LF (the list's Text). Empty for an empty list.
QByteArray packetText(TShortStringList &packet);

// The persisted recordset that a packet carries: its lines joined (every line followed by
// CR LF), Base64-decoded and inflated. Does not take the packet. An empty packet gives an
// empty result.
QByteArray decodePacket(TShortStringList &packet);

// Base64-decodes the joined packet text and inflates the result, releasing the decoded
// bytes before returning. Empty text gives an empty result. Inflate errors throw Exception.
QByteArray decodePacketText(QByteArrayView text);

} // namespace TDInvoice::Intake
