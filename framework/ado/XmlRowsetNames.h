// Namespace URIs of ADO's XML rowset format.
#pragma once

#include <QString>

namespace TDInvoice::Ado {

inline QString schemaNamespace() {
  return QStringLiteral("uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882");
}
inline QString dataTypeNamespace() {
  return QStringLiteral("uuid:C2F41010-65B3-11d1-A29F-00AA00C14882");
}
inline QString rowsetNamespace() { return QStringLiteral("urn:schemas-microsoft-com:rowset"); }

} // namespace TDInvoice::Ado
