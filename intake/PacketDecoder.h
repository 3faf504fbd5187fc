// Data packets: the host's answer to every query, a short-string list whose lines carry the
// Base64 text of a raw DEFLATE stream of a persisted recordset.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace TDInvoice::Intake {

// Base64-decodes the joined packet text and inflates the result, releasing the decoded
// bytes before returning. Empty text gives an empty result. Inflate errors throw Exception.
QByteArray decodePacketText(QByteArrayView text);

} // namespace TDInvoice::Intake
