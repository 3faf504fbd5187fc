// 8-bit texts that cross the library boundary (SQL, sort specifications, lookup texts) are
// in the Windows ANSI code page 1252, as the host writes them.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace TDInvoice::Ado {

QString fromAnsi(QByteArrayView text);
// Characters outside code page 1252 become '?'.
QByteArray toAnsi(const QString &text);

} // namespace TDInvoice::Ado
