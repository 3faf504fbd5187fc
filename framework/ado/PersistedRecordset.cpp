#include "framework/ado/RecordsetData.h"

#include "TDInvoice/Exceptions.h"

namespace TDInvoice::Ado {

// Readers and writers are filled in by the next commits; until then they refuse.
RecordsetData readPersisted(const QByteArray &, int) {
  throw EOleException("persisted recordset reader not available yet");
}
QByteArray writePersisted(const RecordsetData &, PersistFormat, int) {
  throw EOleException("persisted recordset writer not available yet");
}

} // namespace TDInvoice::Ado
