// ANSI text of a Windows code page, to and from Unicode. Internal to the ADO layer.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace TDInvoice::Ado {

// Decodes bytes of the code page (1252, 65001 for UTF-8, or any code page the C library's
// iconv knows as "CP<n>"); bytes the code page does not define become U+FFFD. Throws
// EOleException for a code page that is not available.
QString decodeAnsi(const QByteArray &bytes, int codePage);
// Encodes text in the code page; nullopt when a character has no representation there.
// Throws EOleException for a code page that is not available.
std::optional<QByteArray> encodeAnsi(const QString &text, int codePage);

} // namespace TDInvoice::Ado
