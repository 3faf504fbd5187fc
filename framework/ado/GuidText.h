// GUIDs: the 16 bytes in memory order (Data1-Data3 little-endian) and their registry text.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace TDInvoice::Ado {

// "{01234567-89AB-CDEF-0123-456789ABCDEF}", upper case.
QString guidText(const QByteArray &bytes16);
// Accepts the text with or without braces, any case; nullopt when malformed.
std::optional<QByteArray> parseGuid(QStringView text);

} // namespace TDInvoice::Ado
